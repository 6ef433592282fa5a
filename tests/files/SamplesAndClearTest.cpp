#include "WindowFixture.h"

#include <QDir>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

class SamplesAndClearTest : public WindowFixture {
protected:
    void InstallSamples() {
        QDir(programFolder.path()).mkdir(u"Samples"_s);
        Write(u"Samples/sample1.txt"_s, "one\nshared");
        Write(u"Samples/sample2.txt"_s, "two\nshared\n");
    }

    const QString question =
        u"Would you like this software to open the folder where these sample files are stored "
        u"(so that you can view them before working with them)?"_s;
};

} // namespace

TEST_F(SamplesAndClearTest, SamplesFillBothPanesAndOfferTheirFolder) {
    InstallSamples();
    Form1& form = Start();
    box.answers = {MsgBoxResult::No};
    form.PushButton9_Click();
    EXPECT_EQ(form.RichTextBox1.Text(), u"one\r\nshared\r"_s);
    EXPECT_EQ(form.RichTextBox2.Text(), u"two\r\nshared\r\n\r"_s);
    EXPECT_TRUE(form.Option1->isChecked());
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, question);
    EXPECT_EQ(box.shown[0].style, 4);
    EXPECT_TRUE(shell.openedFolders.empty());

    box.answers = {MsgBoxResult::Yes};
    form.PushButton9_Click();
    EXPECT_EQ(form.RichTextBox1.Text(), u"one\r\nshared\r"_s) << "a second click gives the same";
    const QString sep = QDir::separator();
    EXPECT_EQ(shell.openedFolders,
              std::vector<QString>{QDir::toNativeSeparators(programFolder.path()) + sep +
                                   u"Samples"_s + sep});
}

TEST_F(SamplesAndClearTest, AnInstalledProgramFindsItsSamplesInTheSharedDataFolder) {
    ActAsInstalled();
    WriteInstalled(u"Samples/sample1.txt"_s, "installed one");
    WriteInstalled(u"Samples/sample2.txt"_s, "installed two");
    Form1& form = Start();
    box.answers = {MsgBoxResult::Yes};
    form.PushButton9_Click();
    EXPECT_EQ(box.Texts(), std::vector<QString>{question}) << "no file is missing";
    EXPECT_EQ(form.RichTextBox1.Text(), u"installed one\r"_s);
    EXPECT_EQ(form.RichTextBox2.Text(), u"installed two\r"_s);
    const QString sep = QDir::separator();
    EXPECT_EQ(
        shell.openedFolders,
        std::vector<QString>{
            QDir::toNativeSeparators(programFolder.filePath(u"share/tarnwick/Samples"_s)) + sep});
}

TEST_F(SamplesAndClearTest, MissingSamplesAreNamedAndThePanesKeepTheirText) {
    Form1& form = Start();
    form.RichTextBox1.SetText(u"before"_s);
    form.RichTextBox1.ColourRanges(std::vector<TextRange>{{0, 3}}, kRed);
    box.answers = {MsgBoxResult::Ok, MsgBoxResult::Ok, MsgBoxResult::No};
    form.PushButton9_Click();
    EXPECT_EQ(box.Texts(),
              (std::vector<QString>{u"File not found"_s, u"File not found"_s, question}));
    EXPECT_EQ(form.RichTextBox1.Text(), u"before\r"_s);
    EXPECT_TRUE(form.RichTextBox1.RangesOf(kRed).empty())
        << "the text is written back as plain text";
    EXPECT_EQ(form.RichTextBox2.Text(), u"\r"_s);
    EXPECT_TRUE(form.Option1->isChecked());
}

TEST_F(SamplesAndClearTest, ClearEmptiesAllFourPanesAndNothingElse) {
    Form1& form = Start();
    for (Pane* pane :
         {&form.RichTextBox1, &form.RichTextBox2, &form.RichTextBox3, &form.RichTextBox4})
        pane->SetText(u"text"_s);
    form.PushButton7_Click();
    for (Pane* pane :
         {&form.RichTextBox1, &form.RichTextBox2, &form.RichTextBox3, &form.RichTextBox4})
        EXPECT_EQ(pane->Text(), QString());
    EXPECT_TRUE(form.Option2->isChecked());
    EXPECT_TRUE(form.RichTextBox3.Visible());
    EXPECT_TRUE(box.shown.empty());
    const auto writes = settings.writes.size();
    form.PushButton7_Click();
    EXPECT_EQ(settings.writes.size(), writes);
}

TEST_F(SamplesAndClearTest, AClearDuringALineComparisonStopsIt) {
    Form1& form = Start();
    QString many;
    for (int i = 0; i < 3000; ++i)
        many += QString::number(i) + u"\r\n"_s;
    form.RichTextBox1.SetText(many);
    pump.onPump = [&](int call) {
        if (call == 2) // while the lines are worked out
            form.PushButton7_Click();
    };
    form.PushButton1_Click();
    EXPECT_EQ(form.RichTextBox3.Text(), QString()) << "nothing is listed after the clear";
    EXPECT_TRUE(box.shown.empty());
    EXPECT_FALSE(form.Busy());
    // After a clear the comparisons find nothing.
    form.PushButton6_Click();
    EXPECT_EQ(box.Texts(), std::vector<QString>{u"Done."_s});
    EXPECT_EQ(form.RichTextBox3.Text(), QString());
    EXPECT_EQ(form.RichTextBox4.Text(), QString());
}
