#include "DeviceNode.h"
#include "FileIn.h"
#include "ToolRun.h"
#include "UnwritableStreams.h"
#include "cli/CliComparison.h"
#include "cli/CliOptions.h"
#include "cli/JsonWriter.h"
#include "cli/ReportSinks.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

class CliTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        return WriteFileIn(dir, name, bytes);
    }

    // Runs the tool on two files; returns the exit status and leaves its output in `output`.
    int Run(std::vector<QString> arguments) {
        QStringList all{u"tarnwick-cli"_s};
        for (QString& argument : arguments)
            all.append(argument);
        const auto parsed = ParseCliArguments(all);
        if (const auto* exit = std::get_if<CliExit>(&parsed)) {
            output = exit->text.toUtf8();
            return exit->status;
        }
        int status = -1;
        output = RunTool(std::get<CliOptions>(parsed), status);
        return status;
    }

    QTemporaryDir dir;
    std::string Output() const { return output.toStdString(); }
    QByteArray output;
};

} // namespace

TEST_F(CliTest, ExitStatusTellsSameDifferentAndTrouble) {
    const QString a = Write(u"a.txt"_s, "one\ntwo\n");
    const QString b = Write(u"b.txt"_s, "two\r\none\r\n");
    const QString c = Write(u"c.txt"_s, "one\nthree\n");
    EXPECT_EQ(Run({u"lines"_s, a, b}), 0) << "moved lines and other line breaks are the same";
    EXPECT_EQ(Run({u"lines"_s, a, c}), 1);
    EXPECT_EQ(Output(),
              "--- a.txt: 1 line not in c.txt\n< two\n--- c.txt: 1 line not in a.txt\n> three\n");
    EXPECT_EQ(Run({u"lines"_s, a, dir.filePath(u"missing.txt"_s)}), 2);
    EXPECT_EQ(Run({u"lines"_s, a, dir.path()}), 2) << "a folder is no file";
    EXPECT_EQ(Run({u"lines"_s, a}), 2);
    EXPECT_EQ(Run({u"sideways"_s, a, b}), 2);
    EXPECT_EQ(Run({u"--bogus"_s, u"lines"_s, a, b}), 2);
    EXPECT_EQ(Run({u"--help"_s}), 0);
    EXPECT_TRUE(output.contains("lines"));
}

// A usage error is told in one line; an answer that cannot be written is trouble.
TEST_F(CliTest, AnswersInsteadOfAComparisonAreOneLineAndMustBeWritten) {
    for (const std::vector<QString>& arguments :
         {std::vector<QString>{u"--bogus"_s, u"lines"_s, u"a"_s, u"b"_s},
          std::vector<QString>{u"lines"_s, u"a"_s},
          std::vector<QString>{u"sideways"_s, u"a"_s, u"b"_s}}) {
        EXPECT_EQ(Run(arguments), 2);
        EXPECT_FALSE(output.contains('\n')) << Output();
        EXPECT_TRUE(output.contains("Try 'tarnwick-cli --help'.")) << Output();
    }
    const UnwritableStreams unwritable(dir);
    std::FILE* err = std::tmpfile();
    for (const UnwritableStreams::Stream& out : unwritable.All()) {
        for (const QString& asked : {u"--help"_s, u"--version"_s}) {
            const auto parsed = ParseCliArguments(QStringList{u"tarnwick-cli"_s, asked});
            EXPECT_EQ(PrintCliExit(std::get<CliExit>(parsed), out.file, err), 2)
                << asked.toStdString() << " to " << out.name;
        }
    }
    std::fclose(err);
}

// Once one file fails, the tool says so and stops, whatever the other is doing: waiting for a
// writer that never comes, or giving bytes without end.
TEST_F(CliTest, TheFirstFileThatFailsEndsTheRunAtOnce) {
    const QString missing = dir.filePath(u"missing.txt"_s);
    const QString fifo = dir.filePath(u"pipe"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(Run({u"lines"_s, missing, fifo}), 2);
    EXPECT_EQ(Run({u"lines"_s, fifo, missing}), 2);
    // Let the readers that waited for a writer finish: one writer lets every waiting reader on.
    const int writer = open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0)
        close(writer);
    const QString zero = MakeWorkingDeviceIn(dir, u"zero"_s, kZeroDevice);
    if (!zero.isEmpty()) { // else making devices is not permitted here
        EXPECT_EQ(Run({u"words"_s, missing, zero}), 2);
    }
}

TEST_F(CliTest, PipesAndTheSystemsFilesAreReadToTheirEnd) {
    const QString fifo = dir.filePath(u"pipe"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString same = Write(u"same.txt"_s, "one\ntwo\n");
    std::thread writer([&] {
        QFile file(fifo);
        if (file.open(QIODevice::WriteOnly))
            file.write("two\none\n");
    });
    EXPECT_EQ(Run({u"lines"_s, same, fifo}), 0);
    writer.join();
    if (!QFile::exists(u"/proc/version"_s))
        GTEST_SKIP() << "no /proc here";
    QFile version(u"/proc/version"_s);
    ASSERT_TRUE(version.open(QIODevice::ReadOnly));
    const QString copy = Write(u"version.txt"_s, version.readAll());
    EXPECT_EQ(Run({u"--exact"_s, u"lines"_s, u"/proc/version"_s, copy}), 0)
        << "a file that says it is empty still has text";
}

// A pipe is read once and kept as its bytes: the reports are those of the same bytes in a file,
// whether the texts are held (and the pipe's bytes let go once read) or read again for each pass.
TEST_F(CliTest, APipeGivesTheReportOfItsFile) {
    const QByteArray first = "alpha\nBeta gamma\nsame\ndelta one\n";
    const QByteArray second = "Alpha\nbeta gamma \nsame\nepsilon\ndelta two\n";
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"pipe"_s));
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"file"_s));
    CliOptions options;
    options.file1 = QFile::encodeName(Write(u"a.txt"_s, first));
    const QString fifo = dir.filePath(u"pipe/b.txt"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QByteArray file = QFile::encodeName(Write(u"file/b.txt"_s, second));
    const auto viaPipe = [&](const CliOptions& asked, int& status) {
        std::thread writer([&] {
            QFile out(fifo);
            if (out.open(QIODevice::WriteOnly))
                out.write(second);
        });
        CliOptions piped = asked;
        piped.file2 = QFile::encodeName(fifo);
        const QByteArray report = RunTool(piped, status);
        writer.join();
        return report;
    };
    for (const auto mode : {CliOptions::Mode::Lines, CliOptions::Mode::Words})
        for (const bool json : {false, true})
            for (const bool explain : {false, true})
                for (const qint64 memory : {qint64{1} << 32, qint64{0}}) {
                    options.mode = mode;
                    options.json = json;
                    options.explain = explain;
                    options.memoryBytes = memory;
                    options.file2 = file;
                    int status = -1, pipedStatus = -1;
                    const QByteArray expected = RunTool(options, status);
                    EXPECT_EQ(viaPipe(options, pipedStatus), expected)
                        << (mode == CliOptions::Mode::Lines ? "lines" : "words")
                        << (json ? " json" : "") << (explain ? " explain" : "") << " memory "
                        << memory;
                    EXPECT_EQ(pipedStatus, status);
                    EXPECT_EQ(status, 1);
                }
}

// Names are taken as the system spells them, valid UTF-8 or not, and shown the same way.
TEST_F(CliTest, FileNamesNeedNotBeUtf8) {
    const QByteArray name = QFile::encodeName(dir.path()) + "/lat\xe9.txt";
    {
        std::FILE* file = std::fopen(name.constData(), "w");
        ASSERT_NE(file, nullptr);
        std::fputs("caf\xc3\xa9\n", file);
        std::fclose(file);
    }
    CliOptions options;
    options.file1 = name;
    options.file2 = QFile::encodeName(Write(u"b.txt"_s, "other\n"));
    int status = -1;
    const QByteArray report = RunTool(options, status);
    std::remove(name.constData()); // Qt names files by text, and could not remove this one
    EXPECT_EQ(status, 1);
    EXPECT_EQ(report.toStdString(), "--- lat\xe9.txt: 1 line not in b.txt\n< caf\xc3\xa9\n"
                                    "--- b.txt: 1 line not in lat\xe9.txt\n> other\n");
}

TEST_F(CliTest, JsonGivesResultPanesAndRedRuns) {
    const QString a = Write(u"a.txt"_s, "one\ntwo three\nfour");
    const QString b = Write(u"b.txt"_s, "one\ntwo 3\n");
    EXPECT_EQ(Run({u"--json"_s, u"words"_s, a, b}), 1);
    // The loaded texts are one\r\ntwo three\r\nfour\r and one\r\ntwo 3\r\n\r: the CR the
    // loaders append belongs to no word.
    EXPECT_EQ(
        Output(),
        R"({"mode":"words","file1":{"result":"\r\nthree\r\nfour","marks":[[9,5],[16,4]],)"
        R"("entries":[{"line":2,"word":1,"text":"three"},{"line":3,"word":0,"text":"four"}]},)"
        R"("file2":{"result":"\r\n3","marks":[[9,1]],)"
        R"("entries":[{"line":2,"word":1,"text":"3"}]}})"
        "\n");
    EXPECT_EQ(Run({u"--json"_s, u"lines"_s, a, b}), 1);
    // File #2's LF-only piece equals file #1's empty last piece.
    EXPECT_EQ(Output(),
              R"({"mode":"lines","file1":{"result":"\ntwo three\r\nfour\r","marks":[[4,17]],)"
              R"("entries":[{"line":2,"text":"two three"},{"line":3,"text":"four"}]},)"
              R"("file2":{"result":"\ntwo 3\r","marks":[[4,7]],)"
              R"("entries":[{"line":2,"text":"two 3"}]}})"
              "\n");
}

// JSON carries no control character as it is: every unit below U+0020 in a file is escaped in the
// report, which a parser reads back as the text the window holds. (Qt's parser takes raw control
// characters too, so the bytes are looked at first.)
TEST_F(CliTest, JsonEscapesEveryControlCharacter) {
    QByteArray controls;
    for (char c = 0; c < 0x20; ++c)
        if (c != '\r' && c != '\n')
            controls.append('x').append(c);
    const QString a = Write(u"a.txt"_s, controls + "\n" + controls + " y\n");
    const QString b = Write(u"b.txt"_s, "z\n");
    for (const QString& mode : {u"lines"_s, u"words"_s}) {
        EXPECT_EQ(Run({u"--exact"_s, u"--json"_s, mode, a, b}), 1);
        ASSERT_TRUE(output.endsWith('\n'));
        const QByteArray json = output.chopped(1);
        EXPECT_TRUE(std::all_of(json.begin(), json.end(), [](char c) { return c >= 0x20; }))
            << mode.toStdString() << ": " << Output();
        QJsonParseError error;
        const QJsonDocument parsed = QJsonDocument::fromJson(json, &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << Output();
        const QString result = parsed[u"file1"_s][u"result"_s].toString();
        // Nothing is normalised: one line, cut at CR, or two words, cut at blanks.
        const QString line =
            QString::fromLatin1(controls) + u"\n"_s + QString::fromLatin1(controls);
        EXPECT_EQ(result, mode == u"lines"_s ? line + u" y\n\r"_s : u"\r\n"_s + line + u"\r\ny\n"_s)
            << mode.toStdString();
    }
    // The writer alone, every unit below U+0020 and the two that JSON escapes above it.
    QString text;
    for (char16_t unit = 0; unit < 0x20; ++unit)
        text.append(QChar(unit)).append(u'.');
    text.append(u"\"\\"_s);
    QByteArray out("[");
    JsonWriter::AppendString(out, text);
    out.append(']');
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](char c) { return c >= 0x20; }))
        << out.data();
    EXPECT_EQ(QJsonDocument::fromJson(out).array().at(0).toString(), text);
}

TEST_F(CliTest, ExactTakesTheBytesAsTheyAre) {
    const QString a = Write(u"a.txt"_s, "x\ny\n");
    const QString b = Write(u"b.txt"_s, "x\r\ny\r\n");
    EXPECT_EQ(Run({u"--exact"_s, u"--json"_s, u"lines"_s, a, b}), 1);
    // Without the CR the loaders append, a's text is one piece; b's pieces are x, LF y and LF.
    EXPECT_EQ(Output(), R"({"mode":"lines","file1":{"result":"x\ny\n\r","marks":[[0,4]],)"
                        R"("entries":[{"line":1,"text":"x\ny\n"}]},)"
                        R"("file2":{"result":"x\r\ny\r\n\r","marks":[[0,6]],)"
                        R"("entries":[{"line":1,"text":"x"},{"line":2,"text":"y"},)"
                        R"({"line":3,"text":""}]}})"
                        "\n");
}

TEST_F(CliTest, WordsAreListedOneALine) {
    const QString a = Write(u"a.txt"_s, "one\ntwo three\nfour");
    const QString b = Write(u"b.txt"_s, "one\ntwo 3\n");
    EXPECT_EQ(Run({u"words"_s, a, b}), 1);
    // The CR the loaders append is no part of file #1's last word, nor a word of file #2.
    EXPECT_EQ(Output(), "--- a.txt: 2 words not supplied by the lines of b.txt\n< three\n< four\n"
                        "--- b.txt: 1 word not supplied by the lines of a.txt\n> 3\n");
    EXPECT_EQ(Run({u"words"_s, a, a}), 0);
    EXPECT_EQ(Output(), "--- a.txt: 0 words not supplied by the lines of a.txt\n"
                        "--- a.txt: 0 words not supplied by the lines of a.txt\n");
}

TEST_F(CliTest, AReportThatCannotBeWrittenIsTrouble) {
    const QString a = Write(u"a.txt"_s, "one\n");
    const QString b = Write(u"b.txt"_s, "two\n");
    const auto parsed = ParseCliArguments({u"tarnwick-cli"_s, u"words"_s, a, b});
    const UnwritableStreams unwritable(dir);
    for (const UnwritableStreams::Stream& out : unwritable.All())
        EXPECT_EQ(RunCliComparison(std::get<CliOptions>(parsed), out.file), 2) << out.name;
}

TEST(JsonWriterTest, EscapesWhatJsonCannotCarryAndKeepsTheRest) {
    QByteArray out;
    const QString text =
        u"q\"b\\\t\x01\u00e9\u20ac"_s + QChar(0xD83D) + QChar(0xDE00) + QChar(0xDC00);
    JsonWriter::AppendString(out, text);
    EXPECT_EQ(out, "\"q\\\"b\\\\\\t\\u0001\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\\udc00\"");
    // ASCII and more in one run between escapes; numbers of every length.
    out.clear();
    JsonWriter::AppendString(out, u"ab\u00e9c\n"_s);
    for (const unsigned long long number : {0ull, 7ull, 1234567890123ull})
        JsonWriter::AppendNumber(out.append(' '), number);
    EXPECT_EQ(out, "\"ab\xC3\xA9"
                   "c\\n\" 0 7 1234567890123");
}

// Two lines of millions of words whose partner indexes would not fit beside each other are
// worked out one side after the other, with the same report, readable or for programs.
TEST_F(CliTest, LinesOfMillionsOfWordsAreComparedOneSideAfterTheOther) {
    constexpr int kWords = 1'600'000; // indexes of about 10 MB each, against a room of 12 MB
    QByteArray one, two;
    one.reserve(2 * kWords);
    two.reserve(2 * kWords);
    for (int i = 0; i < kWords; ++i) {
        const char letter = static_cast<char>('a' + (i * 7 + i / 13) % 26);
        one.append(letter).append(' ');
        two.append(i % 10 == 3 ? 'A' : letter).append(' ');
    }
    CliOptions options;
    options.mode = CliOptions::Mode::Words;
    options.file1 = QFile::encodeName(Write(u"one.txt"_s, one));
    options.file2 = QFile::encodeName(Write(u"two.txt"_s, two));
    // Just enough to hold both texts, which leaves little room: 17 MB, counted at 12.75.
    const qint64 held = qint64{sizeof(char16_t)} * (one.size() + two.size() + 2);
    const qint64 tight = (qint64{32} << 20) + held + (qint64{17} << 20);
    for (const bool json : {false, true}) {
        options.json = json;
        options.memoryBytes = qint64{1} << 34;
        int status = -1;
        const QByteArray side_by_side = RunTool(options, status);
        ASSERT_EQ(status, 1);
        options.memoryBytes = tight;
        EXPECT_EQ(RunTool(options, status), side_by_side) << (json ? "json" : "readable");
        EXPECT_EQ(status, 1);
    }
}

// Unless a test sets it, a comparison may take three times the files' size and 100 MB.
TEST(MemoryAllowanceTest, IsThreeTimesTheFilesAnd100MBUnlessSet) {
    const auto parsed =
        ParseCliArguments(QStringList{u"tarnwick-cli"_s, u"lines"_s, u"a"_s, u"b"_s});
    CliOptions options = std::get<CliOptions>(parsed);
    constexpr qint64 kMB = qint64{1} << 20;
    for (const auto& [files, allowed] :
         {std::pair{qint64{0}, 100 * kMB},
          {1000 * kMB, 3100 * kMB},
          {(qint64{2} << 30) + 1, (qint64{6} << 30) + 3 + 100 * kMB}})
        EXPECT_EQ(MemoryAllowance(options, files), allowed) << files;
    options.memoryBytes = 0;
    EXPECT_EQ(MemoryAllowance(options, 1000 * kMB), 0);
}

TEST(KeptRoomTest, TakesWhatIsLeftAtMost) {
    KeptRoom room(100);
    EXPECT_EQ(room.TakeUpTo(30), 30);
    EXPECT_FALSE(room.Take(80));
    EXPECT_EQ(room.TakeUpTo(200), 70);
    EXPECT_EQ(room.TakeUpTo(5), 0);
    room.GiveBack(100);
    EXPECT_TRUE(room.Take(100));
}
