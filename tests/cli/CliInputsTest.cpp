// Standard input as either file, and the names the report gives its files.
#include "FileIn.h"
#include "ToolRun.h"
#include "cli/CliOptions.h"
#include "cli/ShownName.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Puts `fd` in the place of the process's standard input while it lives.
class StandardInputFrom {
public:
    explicit StandardInputFrom(int fd) : saved_(dup(0)) { EXPECT_EQ(dup2(fd, 0), 0); }
    ~StandardInputFrom() {
        dup2(saved_, 0);
        close(saved_);
    }
    StandardInputFrom(const StandardInputFrom&) = delete;
    StandardInputFrom& operator=(const StandardInputFrom&) = delete;

private:
    int saved_;
};

constexpr char kFirst[] = "alpha\nbeta\n";
constexpr char kSecond[] = "alpha\ndelta\n";

class CliInputsTest : public ::testing::Test {
protected:
    QByteArray Write(const QString& name, const QByteArray& bytes) {
        return QFile::encodeName(WriteFileIn(dir_, name, bytes));
    }
    // The report of the two files when `dash` of them (1 or 2) is read from standard input.
    CliOptions Options(int dash, bool json, qint64 memory) {
        CliOptions options;
        options.file1 = dash == 1 ? QByteArray(kStandardInput) : Write(u"a.txt"_s, kFirst);
        options.file2 = dash == 2 ? QByteArray(kStandardInput) : Write(u"b.txt"_s, kSecond);
        options.json = json;
        options.memoryBytes = memory;
        return options;
    }

    QTemporaryDir dir_;
};

// What the report is when `dash` is standard input: the other file's name, and "-".
QByteArray Expected(int dash, bool json) {
    if (json)
        return R"({"mode":"lines","file1":{"result":"\nbeta\r","marks":[[6,6]],)"
               R"("entries":[{"line":2,"text":"beta"}]},)"
               R"("file2":{"result":"\ndelta\r","marks":[[6,7]],)"
               R"("entries":[{"line":2,"text":"delta"}]}})"
               "\n";
    const QByteArray a = dash == 1 ? "-" : "a.txt";
    const QByteArray b = dash == 2 ? "-" : "b.txt";
    return "--- " + a + ": 1 line not in " + b + "\n< beta\n--- " + b + ": 1 line not in " + a +
           "\n> delta\n";
}

} // namespace

// An ordinary file given as standard input is read from where the input stands, as often as the
// comparison asks; a pipe is read once and kept. Either way, on either side, held or read again
// for each pass, the report is that of the same file named "-".
TEST_F(CliInputsTest, StandardInputStandsForEitherFile) {
    for (const int dash : {1, 2}) {
        for (const bool json : {false, true}) {
            for (const qint64 memory : {qint64{1} << 32, qint64{0}}) {
                const std::string where = "side " + std::to_string(dash) + (json ? " json" : "") +
                                          (memory ? " held" : " streamed");
                {
                    // Four bytes already read from the input belong to no file.
                    const QByteArray bytes = QByteArray("skip") + (dash == 1 ? kFirst : kSecond);
                    const int fd = open(Write(u"in.txt"_s, bytes).constData(), O_RDONLY);
                    ASSERT_GE(fd, 0);
                    ASSERT_EQ(lseek(fd, 4, SEEK_SET), 4);
                    const StandardInputFrom input(fd);
                    close(fd);
                    int status = -1;
                    EXPECT_EQ(RunTool(Options(dash, json, memory), status), Expected(dash, json))
                        << where << " file";
                    EXPECT_EQ(status, 1);
                }
                int ends[2];
                ASSERT_EQ(pipe(ends), 0);
                std::thread writer([&] {
                    const std::string text = dash == 1 ? kFirst : kSecond;
                    EXPECT_EQ(write(ends[1], text.data(), text.size()), ssize_t(text.size()));
                    close(ends[1]);
                });
                {
                    const StandardInputFrom input(ends[0]);
                    close(ends[0]);
                    int status = -1;
                    EXPECT_EQ(RunTool(Options(dash, json, memory), status), Expected(dash, json))
                        << where << " pipe";
                    EXPECT_EQ(status, 1);
                }
                writer.join();
            }
        }
    }
}

// Standard input cannot be both files; a file called "-" is reached as ./-.
TEST_F(CliInputsTest, StandardInputIsOneFileAtMost) {
    const auto parsed =
        ParseCliArguments(QStringList{u"tarnwick-cli"_s, u"lines"_s, u"-"_s, u"-"_s});
    ASSERT_TRUE(std::holds_alternative<CliExit>(parsed));
    const CliExit& refused = std::get<CliExit>(parsed);
    EXPECT_EQ(refused.status, 2);
    EXPECT_FALSE(refused.text.contains(u'\n')) << refused.text.toStdString();
    EXPECT_TRUE(refused.text.contains(u"Standard input"_s)) << refused.text.toStdString();

    const QString dashFile = dir_.filePath(u"-"_s);
    WriteFileIn(dir_, u"-"_s, kFirst);
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    const auto named = ParseCliArguments(QStringList{
        u"tarnwick-cli"_s, u"lines"_s, u"./-"_s, QString::fromUtf8(Write(u"b.txt"_s, kSecond))});
    int status = -1;
    const QByteArray report = RunTool(std::get<CliOptions>(named), status);
    QDir::setCurrent(previous);
    EXPECT_EQ(report, Expected(1, false));
    EXPECT_EQ(status, 1);
}

// A file is named by the last part of its path, unless that part is the system's name for a
// descriptor or a device: then by the path as given.
TEST_F(CliInputsTest, NamesAreTheLastPartWhereThatIsTheFilesOwn) {
    ASSERT_TRUE(QFile::link(u"/dev"_s, dir_.filePath(u"devices"_s)));
    const QByteArray inside = QFile::encodeName(dir_.path());
    const std::pair<QByteArray, QByteArray> table[] = {
        {"a.txt", "a.txt"},
        {inside + "/sub/b.txt", "b.txt"},
        {"-", "-"},
        {"/dev/fd/63", "/dev/fd/63"},
        {"/dev/stdin", "/dev/stdin"},
        {"/proc/self/fd/0", "/proc/self/fd/0"},
        {"/dev/../tmp/x.txt", "x.txt"},
        {inside + "/devices/stdin", inside + "/devices/stdin"},
        {inside + "/lat\xe9.txt", "lat\xe9.txt"},
    };
    for (const auto& [path, shown] : table)
        EXPECT_EQ(ShownName(path).toStdString(), shown.toStdString()) << path.toStdString();

    // A pipe the way a process substitution hands it over.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    std::thread writer([&] {
        EXPECT_EQ(write(ends[1], kFirst, sizeof kFirst - 1), ssize_t(sizeof kFirst - 1));
        close(ends[1]);
    });
    CliOptions options;
    options.file1 = "/dev/fd/" + QByteArray::number(ends[0]);
    options.file2 = Write(u"b.txt"_s, kSecond);
    int status = -1;
    const QByteArray report = RunTool(options, status);
    writer.join();
    close(ends[0]);
    EXPECT_TRUE(report.startsWith("--- " + options.file1 + ": 1 line not in b.txt\n"))
        << report.toStdString();
}
