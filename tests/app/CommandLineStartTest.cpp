#include "WindowFixture.h"

#include "app/CommandLineStart.h"

#include <QRadioButton>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

class CommandLineStartTest : public WindowFixture {
protected:
    // Two files that differ in one line each and share a line, placed beside one another.
    QStringList TwoFiles() {
        return {QDir::toNativeSeparators(Write(u"old.txt"_s, "alpha\nshared beta\n")),
                QDir::toNativeSeparators(Write(u"new.txt"_s, "shared beta\ngamma\n"))};
    }
};

} // namespace

TEST_F(CommandLineStartTest, TwoFilesLoadIntoTheirSidesAndTheFullTextsShow) {
    Form1& form = Start();
    ASSERT_TRUE(form.Option2->isChecked()) << "a first run shows the lists";
    OpenFromCommandLine(form, {TwoFiles(), WindowCommandLine::Comparison::None, {}});
    EXPECT_EQ(form.RichTextBox1.Text(), u"alpha\r\nshared beta\r\n\r"_s);
    EXPECT_EQ(form.RichTextBox2.Text(), u"shared beta\r\ngamma\r\n\r"_s);
    EXPECT_TRUE(form.Option1->isChecked());
    EXPECT_TRUE(form.RichTextBox1.Visible());
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(form.MousePointer(), 0);
}

// What the user would see after loading both files with the buttons and clicking the
// comparison's button, and what they see after starting the window with the same files.
TEST_F(CommandLineStartTest, LinesAndWordsEndAsTheButtonsWould) {
    struct Seen {
        std::vector<QString> texts;
        std::vector<TextRange> red1, red2;
        std::vector<QString> boxes;
    };
    const auto seen = [&](Form1& form) {
        return Seen{{form.RichTextBox1.Text(), form.RichTextBox2.Text(), form.RichTextBox3.Text(),
                     form.RichTextBox4.Text()},
                    form.RichTextBox1.RangesOf(kRed),
                    form.RichTextBox2.RangesOf(kRed),
                    box.Texts()};
    };
    using Comparison = WindowCommandLine::Comparison;
    for (const Comparison comparison : {Comparison::Lines, Comparison::Words}) {
        const QStringList files = TwoFiles();
        Form1& byButtons = Start();
        dialog.answers = {files[0], files[1]};
        byButtons.PushButton3_Click();
        byButtons.PushButton4_Click();
        if (comparison == Comparison::Lines)
            byButtons.PushButton1_Click();
        else
            byButtons.PushButton6_Click();
        const Seen expected = seen(byButtons);
        box.shown.clear();

        Form1& byCommandLine = Start();
        OpenFromCommandLine(byCommandLine, {files, comparison, {}});
        const Seen actual = seen(byCommandLine);
        EXPECT_EQ(actual.texts, expected.texts);
        EXPECT_EQ(actual.red1, expected.red1);
        EXPECT_EQ(actual.red2, expected.red2);
        EXPECT_EQ(actual.boxes, std::vector<QString>{u"Done."_s});
        EXPECT_FALSE(actual.red1.empty() || actual.red2.empty()) << "both files differ";
        EXPECT_TRUE(byCommandLine.Option1->isChecked()) << "the full texts show the red marks";
        EXPECT_FALSE(byCommandLine.Busy());
        box.shown.clear();
    }
}

TEST_F(CommandLineStartTest, AMissingFileIsReportedAndTheOtherStillLoads) {
    Form1& form = Start();
    const QString missing = QDir::toNativeSeparators(programFolder.filePath(u"gone.txt"_s));
    box.answers = {MsgBoxResult::Ok};
    OpenFromCommandLine(form, {{missing, TwoFiles()[1]}, WindowCommandLine::Comparison::None, {}});
    EXPECT_EQ(box.Texts(), std::vector<QString>{u"File not found"_s});
    EXPECT_EQ(form.RichTextBox1.Text(), u"\r"_s);
    EXPECT_EQ(form.RichTextBox2.Text(), u"shared beta\r\ngamma\r\n\r"_s);
}

TEST_F(CommandLineStartTest, OneFileLeavesTheOtherSideAlone) {
    Form1& form = Start();
    form.RichTextBox2.SetText(u"kept"_s);
    OpenFromCommandLine(form, {{TwoFiles()[0]}, WindowCommandLine::Comparison::None, {}});
    EXPECT_EQ(form.RichTextBox1.Text(), u"alpha\r\nshared beta\r\n\r"_s);
    EXPECT_EQ(form.RichTextBox2.Text(), u"kept"_s);
}

namespace {

// While alive, the process works in `folder`.
class WorkingFolder {
public:
    explicit WorkingFolder(const QByteArray& folder) : saved_(open(".", O_RDONLY | O_DIRECTORY)) {
        EXPECT_EQ(chdir(folder.constData()), 0);
    }
    ~WorkingFolder() {
        EXPECT_EQ(fchdir(saved_), 0);
        close(saved_);
    }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    int saved_;
};

// Names Qt cannot spell, removed by their bytes when the test ends: the temporary folder's own
// clean-up goes by Qt's spelling and would leave them behind.
class BytesNamed {
public:
    ~BytesNamed() {
        for (auto name = names_.rbegin(); name != names_.rend(); ++name)
            (void)remove(name->constData());
    }
    const QByteArray& operator()(QByteArray name) { return names_.emplace_back(std::move(name)); }

private:
    std::vector<QByteArray> names_;
};

void WriteBytes(const QByteArray& path, const QByteArray& bytes) {
    const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(write(fd, bytes.constData(), bytes.size()), bytes.size());
    close(fd);
}

} // namespace

// A name is the system's bytes, which need not be UTF-8: those very bytes are opened, from a
// folder whose name need not be UTF-8 either, and a message shows the name readably.
TEST_F(CommandLineStartTest, NamesThatAreNotUtf8OpenTheFilesOfThoseBytes) {
    Form1& form = Start();
    BytesNamed named;
    const QByteArray folder = named(QFile::encodeName(programFolder.path()) + "/folder\xFE");
    ASSERT_EQ(mkdir(folder.constData(), 0700), 0);
    WriteBytes(named(folder + "/bad\xFF.txt"), "alpha\nshared\n");
    WriteBytes(named(folder + "/plain.txt"), "shared\ngamma\n");
    {
        const WorkingFolder inside(folder);
        const auto parsed = ParseWindowCommandLine(
            QList<QByteArray>{"tarnwick", "--lines", "bad\xFF.txt", "plain.txt"});
        OpenFromCommandLine(form, std::get<WindowCommandLine>(parsed));
    }
    EXPECT_EQ(box.Texts(), std::vector<QString>{u"Done."_s});
    EXPECT_EQ(form.RichTextBox1.Text(), u"alpha\r\nshared\r\n\r"_s);
    EXPECT_EQ(form.RichTextBox2.Text(), u"shared\r\ngamma\r\n\r"_s);

    box.shown.clear();
    box.answers = {MsgBoxResult::Ok};
    const auto parsed = ParseWindowCommandLine(QList<QByteArray>{"tarnwick", folder});
    OpenFromCommandLine(form, std::get<WindowCommandLine>(parsed));
    const QString shown = programFolder.path() + u"/folder\uFFFD is a folder, not a file"_s;
    ASSERT_EQ(ErrorReports().size(), 1u);
    EXPECT_TRUE(ErrorReports()[0].contains(shown)) << ErrorReports()[0].toStdString();
}
