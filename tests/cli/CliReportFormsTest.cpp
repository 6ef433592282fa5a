// The report's forms beside the readable one and JSON: each difference after its line (-n), the
// entries for programs, only the exit status (-q), only how many (--count).
#include "FileIn.h"
#include "ToolRun.h"
#include "cli/CliOptions.h"
#include "cli/JsonWriter.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using Mode = CliOptions::Mode;

class CliReportFormsTest : public ::testing::Test {
protected:
    CliOptions Options(Mode mode, const QByteArray& a, const QByteArray& b) {
        CliOptions options;
        options.mode = mode;
        options.file1 = QFile::encodeName(WriteFileIn(dir_, u"a.txt"_s, a));
        options.file2 = QFile::encodeName(WriteFileIn(dir_, u"b.txt"_s, b));
        return options;
    }

    QTemporaryDir dir_;
};

QByteArray WithBreaks(QByteArray text, const QByteArray& lineBreak) {
    return text.replace("\n", lineBreak);
}

} // namespace

// The same files with CR, LF or CR LF line breaks: each entry at its line, each word at its
// place in the line, read by a JSON parser; the readable report with -n the same. Held or read
// in passes alike.
TEST_F(CliReportFormsTest, EntriesStandAtTheirLinesWhateverTheLineBreaks) {
    const QByteArray a = "one two\nthree four five\n\nsix  seven\n";
    const QByteArray b = "one 2\nthree 4 five\n\nsix seven\n";
    for (const QByteArray lineBreak : {"\r", "\n", "\r\n"}) {
        for (const qint64 memory : {qint64{1} << 32, qint64{0}}) {
            const std::string where = (lineBreak == "\r"   ? "CR"
                                       : lineBreak == "\n" ? "LF"
                                                           : "CR LF") +
                                      std::string(memory ? " held" : " in passes");
            CliOptions options =
                Options(Mode::Words, WithBreaks(a, lineBreak), WithBreaks(b, lineBreak));
            options.memoryBytes = memory;
            options.json = true;
            int status = -1;
            const QByteArray json = RunTool(options, status);
            const QJsonDocument parsed = QJsonDocument::fromJson(json);
            ASSERT_TRUE(parsed.isObject()) << where << ": " << json.toStdString();
            // "six  seven" has an empty word between its two blanks.
            EXPECT_EQ(parsed[u"file1"_s][u"entries"_s].toArray(),
                      QJsonDocument::fromJson(R"([{"line":1,"word":1,"text":"two"},
                          {"line":2,"word":1,"text":"four"},{"line":4,"word":1,"text":""}])")
                          .array())
                << where;
            options.json = false;
            options.lineNumbers = true;
            EXPECT_EQ(RunTool(options, status).toStdString(),
                      "--- a.txt: 3 words not supplied by the lines of b.txt\n"
                      "< 1: two\n< 2: four\n< 4: \n"
                      "--- b.txt: 2 words not supplied by the lines of a.txt\n"
                      "> 1: 2\n> 2: 4\n")
                << where;
            options.mode = Mode::Lines;
            options.json = true;
            options.lineNumbers = false;
            const QJsonDocument lines = QJsonDocument::fromJson(RunTool(options, status));
            EXPECT_EQ(lines[u"file1"_s][u"entries"_s].toArray(),
                      QJsonDocument::fromJson(R"([{"line":1,"text":"one two"},
                          {"line":2,"text":"three four five"},{"line":4,"text":"six  seven"}])")
                          .array())
                << where;
        }
    }
}

// Every unit below U+0020 in a difference is escaped in its entry, and a parser reads back the
// difference itself; so is a line longer than one room of the writer, surrogate pairs and all.
TEST_F(CliReportFormsTest, EntriesCarryTheirTextEscaped) {
    QByteArray controls;
    for (char c = 1; c < 0x20; ++c)
        if (c != '\r' && c != '\n')
            controls.append('x').append(c);
    const QByteArray giant = QByteArray("\xF0\x9F\x98\x80\"\\ ").repeated(40000);
    CliOptions options = Options(Mode::Lines, controls + "\n" + giant + "\n", "z\n");
    options.json = true;
    int status = -1;
    QByteArray json = RunTool(options, status);
    ASSERT_TRUE(json.endsWith('\n'));
    json.chop(1);
    EXPECT_TRUE(std::all_of(json.begin(), json.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 0x20; }));
    const QJsonArray entries = QJsonDocument::fromJson(json)[u"file1"_s][u"entries"_s].toArray();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0][u"text"_s].toString(), QString::fromLatin1(controls));
    EXPECT_EQ(entries[1][u"text"_s].toString(), QString::fromUtf8(giant));
    // The result list of the giant line is the one JSON string of it, as a whole.
    QByteArray expected;
    JsonWriter::AppendString(expected, QString::fromLatin1(controls) + u"\r\n"_s +
                                           QString::fromUtf8(giant) + u"\r"_s);
    const qsizetype at = json.indexOf(R"("result":)") + 9;
    EXPECT_EQ(json.mid(at, expected.size()).toStdString(), expected.toStdString());
}

// -q prints nothing and answers with the exit status alone; --count prints how many
// differences each file has. Lines and words, held or read in passes.
TEST_F(CliReportFormsTest, QuietAnswersAndCountCounts) {
    struct Case {
        Mode mode;
        QByteArray a, b;
        int status;
        const char* counted;
    };
    const Case cases[] = {
        {Mode::Lines, "x\ny\n", "y\nx\n", 0, "0 a.txt\n0 b.txt\n"},
        {Mode::Lines, "x\ny\nw\n", "y\nz\n", 1, "2 a.txt\n1 b.txt\n"},
        {Mode::Lines, "same\n", "same\nnew at the end\n", 1, "0 a.txt\n1 b.txt\n"},
        {Mode::Words, "a b\nc\n", "a b\nc\n", 0, "0 a.txt\n0 b.txt\n"},
        {Mode::Words, "a b\nc d\n", "a\nc d e\n", 1, "1 a.txt\n1 b.txt\n"},
        {Mode::Words, "", "word\n", 1, "0 a.txt\n1 b.txt\n"},
    };
    for (const Case& c : cases) {
        for (const qint64 memory : {qint64{1} << 32, qint64{0}}) {
            const std::string where =
                c.a.toStdString() + "|" + c.b.toStdString() + (memory ? " held" : " in passes");
            CliOptions options = Options(c.mode, c.a, c.b);
            options.memoryBytes = memory;
            options.quiet = true;
            int status = -1;
            EXPECT_EQ(RunTool(options, status), QByteArray()) << where;
            EXPECT_EQ(status, c.status) << where;
            options.quiet = false;
            options.count = true;
            options.explain = true; // nothing to explain in a count
            options.lineNumbers = true;
            EXPECT_EQ(RunTool(options, status).toStdString(), c.counted) << where;
            EXPECT_EQ(status, c.status) << where;
        }
    }
}

// Forms that cannot go together are refused in one line, with exit status 2.
TEST_F(CliReportFormsTest, ContradictionsAreRefused) {
    const std::vector<QStringList> refused = {
        {u"--json"_s, u"--count"_s, u"lines"_s, u"a"_s, u"b"_s},
        {u"-q"_s, u"--json"_s, u"lines"_s, u"a"_s, u"b"_s},
        {u"--quiet"_s, u"--count"_s, u"words"_s, u"a"_s, u"b"_s},
        {u"--counts"_s, u"words"_s, u"a"_s, u"b"_s},
        {u"lines"_s, u"-"_s, u"-"_s},
    };
    for (const QStringList& arguments : refused) {
        const auto parsed = ParseCliArguments(QStringList{u"tarnwick-cli"_s} + arguments);
        ASSERT_TRUE(std::holds_alternative<CliExit>(parsed)) << arguments.join(u' ').toStdString();
        const CliExit& exit = std::get<CliExit>(parsed);
        EXPECT_EQ(exit.status, 2);
        EXPECT_FALSE(exit.text.contains(u'\n'));
    }
    const auto parsed = ParseCliArguments(
        QStringList{u"tarnwick-cli"_s, u"-qn"_s, u"--counts"_s, u"lines"_s, u"a"_s, u"b"_s});
    ASSERT_TRUE(std::holds_alternative<CliOptions>(parsed));
    const CliOptions& options = std::get<CliOptions>(parsed);
    EXPECT_TRUE(options.quiet && options.lineNumbers && options.counts);
}

// With --explain each entry has its number; the look-alike's line under it stays as it was.
TEST_F(CliReportFormsTest, NumbersLeaveTheLookalikeLineAlone) {
    CliOptions options = Options(Mode::Lines, "same\nBeta\n", "beta\nsame\n");
    options.explain = true;
    options.lineNumbers = true;
    int status = -1;
    EXPECT_EQ(RunTool(options, status).toStdString(),
              "--- a.txt: 1 line not in b.txt\n"
              "< 2: Beta\n    looks like line 1 of b.txt: case\n"
              "--- b.txt: 1 line not in a.txt\n"
              "> 1: beta\n    looks like line 2 of a.txt: case\n");
}
