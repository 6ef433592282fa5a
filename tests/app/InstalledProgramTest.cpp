// The window of an installed copy of the program: runs when TARNWICK_INSTALLED_PREFIX names the
// prefix it was installed or unpacked into (the packaging test sets it), and is skipped otherwise.
#include "WindowFixture.h"

#include "app/MousePointer.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

class InstalledProgramTest : public WindowFixture {};

} // namespace

TEST_F(InstalledProgramTest, TheWindowFindsItsSamplesAndHandPointer) {
    const QString prefix = qEnvironmentVariable("TARNWICK_INSTALLED_PREFIX");
    if (prefix.isEmpty())
        GTEST_SKIP() << "TARNWICK_INSTALLED_PREFIX names no installed copy";
    fileSystem = QtFileSystem(prefix + u"/bin"_s);
    Form1& form = Start();
    EXPECT_EQ(box.Texts(), std::vector<QString>{}) << "the hand pointer loads";
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(form.PushButton1, &enter);
    EXPECT_EQ(form.MousePointer(), MousePointer::Custom);
    EXPECT_EQ(form.cursor().shape(), Qt::BitmapCursor) << "the installed hand, not the platform's";

    box.answers = {MsgBoxResult::No};
    form.PushButton9_Click();
    ASSERT_EQ(box.shown.size(), 1u) << "no \"File not found\" before the question";
    EXPECT_TRUE(box.shown[0].text.startsWith(u"Would you like this software to open the folder"_s));
    EXPECT_TRUE(form.RichTextBox1.Text().startsWith(u"Harbour inspection notes"_s));
    EXPECT_GT(form.RichTextBox2.Text().size(), 1);
}
