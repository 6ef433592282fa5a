#include "WindowFixture.h"

#include "app/MousePointer.h"

#include <QDir>
#include <QRadioButton>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

class SaveButtonsTest : public WindowFixture {
protected:
    Form1& StartWithResults() {
        Form1& form = Start();
        form.RichTextBox1.SetText(u"full text \u00e9\r\nline\r"_s);
        form.RichTextBox3.SetText(u"\nline\r"_s);
        form.RichTextBox2.SetText(u"other full"_s);
        form.RichTextBox4.SetText(u"other results"_s);
        return form;
    }
};

// While alive, writing a file beyond `bytes` fails as a full disk would (even for root).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

} // namespace

// Typed text (these panes were given their texts, as typing gives them) is written with the
// system's line breaks, without the CR that only a load leaves at the end.
TEST_F(SaveButtonsTest, SavesThePaneOnShow) {
    Form1& form = StartWithResults();
    const QString listed = programFolder.filePath(u"results"_s);
    dialog.answers = {listed};
    form.PushButton2_Click(); // the lists are on show after a first start
    EXPECT_EQ(dialog.calls,
              (std::vector<QString>{u"FileName="_s, u"Flags=2621953"_s, u"DialogTitle=Save"_s,
                                    u"Filter=Text Files(*.txt)|*.txt|All Files (*.*)|*.*|"
                                    u"CSV with line numbers (*.csv)|*.csv|"_s,
                                    u"ShowSave"_s}));
    EXPECT_EQ(Read(listed), QByteArray("\nline")) << "no .txt added";
    EXPECT_TRUE(box.shown.empty()) << "a new file needs no question";

    form.SetOptionValue(form.Option1, true);
    const QString full = programFolder.filePath(u"full.txt"_s);
    dialog.answers = {full};
    form.PushButton2_Click();
    EXPECT_EQ(Read(full), QByteArray("full text \xC3\xA9\nline"));
    dialog.answers = {full};
    form.PushButton5_Click();
    ASSERT_EQ(box.shown.size(), 1u) << "side 2 asks before replacing the file";
    EXPECT_EQ(Read(full), QByteArray("other full"));
    EXPECT_EQ(form.MousePointer(), MousePointer::Default);
}

TEST_F(SaveButtonsTest, AsksBeforeReplacingAFileAndNoKeepsIt) {
    Form1& form = StartWithResults();
    const QString path = Write(u"existing.txt"_s, "precious");
    dialog.answers = {path};
    box.answers = {MsgBoxResult::No};
    form.PushButton2_Click();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, u"Are you sure you wish to overwrite "_s + path + u" ?"_s);
    EXPECT_EQ(box.shown[0].style, 4);
    EXPECT_FALSE(box.shown[0].caption.has_value());
    EXPECT_EQ(Read(path), QByteArray("precious"));
    EXPECT_EQ(form.MousePointer(), MousePointer::Default);

    dialog.answers = {path};
    box.answers = {MsgBoxResult::Yes};
    form.PushButton2_Click();
    EXPECT_EQ(Read(path), QByteArray("\nline"));
}

TEST_F(SaveButtonsTest, ACancelWritesNothing) {
    Form1& form = StartWithResults();
    form.SetMousePointer(MousePointer::Custom);
    form.PushButton5_Click();
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(form.MousePointer(), MousePointer::Custom) << "the pointer is not touched";
    EXPECT_EQ(QDir(programFolder.path()).entryList(QDir::Files), QStringList());
}

TEST_F(SaveButtonsTest, WithNeitherPaneOnShowNothingIsWritten) {
    Form1& form = StartWithResults();
    form.RichTextBox3.SetVisible(false);
    dialog.answers = {programFolder.filePath(u"never.txt"_s)};
    form.PushButton2_Click();
    EXPECT_EQ(box.Texts(), std::vector<QString>{u"savertb problem"_s});
    EXPECT_FALSE(QFile::exists(programFolder.filePath(u"never.txt"_s)));
}

TEST_F(SaveButtonsTest, AFailedSaveIsReportedAndLeavesTheOldFileWhole) {
    Form1& form = StartWithResults();
    dialog.answers = {programFolder.filePath(u"no/such/folder/x.txt"_s)};
    form.PushButton2_Click();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_TRUE(
        box.shown[0].text.contains(u"in Tarnwick2021/08/31.Form1.PushButton2_Click at line 120"_s))
        << box.shown[0].text.toStdString();
    EXPECT_EQ(form.MousePointer(), MousePointer::Default);

    // A disk that fills up half way through: the old file stays as it was, nothing else is left.
    box.shown.clear();
    const QString path = Write(u"old.txt"_s, "old content");
    form.RichTextBox3.SetText(QString(100000, u'x'));
    dialog.answers = {path};
    {
        FileSizeLimit limit(4096);
        form.PushButton2_Click();
    }
    ASSERT_EQ(box.shown.size(), 2u) << "the question, then the report";
    EXPECT_TRUE(box.shown[1].text.contains(u"at line 120"_s));
    EXPECT_TRUE(box.shown[1].text.startsWith(u"File too large"_s)) << "not \"Unknown error\"";
    EXPECT_EQ(Read(path), QByteArray("old content"));
    EXPECT_EQ(QDir(programFolder.path()).entryList(QDir::Files), QStringList{u"old.txt"_s});
}

TEST_F(SaveButtonsTest, AFolderWithoutWritePermissionLeavesTheOldFileUntouched) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    Form1& form = StartWithResults();
    QDir(programFolder.path()).mkdir(u"locked"_s);
    const QString path = Write(u"locked/old.txt"_s, "old content");
    QFile::setPermissions(programFolder.filePath(u"locked"_s),
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    dialog.answers = {path};
    form.PushButton2_Click();
    QFile::setPermissions(programFolder.filePath(u"locked"_s),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_TRUE(box.shown[1].text.contains(u"at line 120"_s));
    EXPECT_EQ(Read(path), QByteArray("old content"));
}

// A list kept by place is written out a piece at a time beside the window, an entry a line,
// without ever being spelled out whole in the pane; so is a text of several pieces.
TEST_F(SaveButtonsTest, AListAndALargeTextAreWrittenAsidePieceByPiece) {
    Form1& form = Start();
    form.RichTextBox1.SetText(u"same\r\nonly one\r\n"_s + QString(3'000'000, u'x') + u"\r"_s);
    form.RichTextBox2.SetText(u"same\r\n"_s);
    form.PushButton1_Click();
    const QString list = programFolder.filePath(u"list.txt"_s);
    dialog.answers = {list};
    const int asides = pump.asides;
    form.PushButton2_Click(); // the lists are on show
    EXPECT_EQ(pump.asides, asides + 1) << "written beside the window";
    EXPECT_EQ(Read(list), QByteArray("only one\n") + QByteArray(3'000'000, 'x') + "\n");
    form.SetOptionValue(form.Option1, true);
    const QString full = programFolder.filePath(u"full.txt"_s);
    dialog.answers = {full};
    form.PushButton2_Click();
    EXPECT_EQ(Read(full), "same\nonly one\n" + QByteArray(3'000'000, 'x'));
}
