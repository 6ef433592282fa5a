// --explain: each difference that only looks different from a piece of the other file is told
// under its entry, or listed for programs; without it the report stays what it was.
#include "FileIn.h"
#include "Finish.h"
#include "SanitizedRounds.h"
#include "ScriptedMsgBox.h"
#include "ToolRun.h"
#include "app/ErrorReport.h"
#include "cli/CliOptions.h"
#include "cli/LookalikeSinks.h"
#include "cli/SideReport.h"
#include "compare/FindDifferences.h"
#include "compare/FindWordDifferences.h"
#include "files/TextFileReading.h"
#include "platform/Pane.h"
#include "platform/QtFileSystem.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

using Mode = CliOptions::Mode;

class CliExplainTest : public ::testing::Test {
protected:
    QByteArray Write(const QString& name, const QByteArray& bytes) {
        return QFile::encodeName(WriteFileIn(dir_, name, bytes));
    }

    CliOptions Options(Mode mode, bool json, bool explain, qint64 memory = qint64{1} << 32) {
        CliOptions options;
        options.mode = mode;
        options.file1 = QFile::encodeName(dir_.filePath(u"a.txt"_s));
        options.file2 = QFile::encodeName(dir_.filePath(u"b.txt"_s));
        options.json = json;
        options.explain = explain;
        options.memoryBytes = memory;
        return options;
    }

    std::string Run(const CliOptions& options) {
        int status = -1;
        const QByteArray output = RunTool(options, status);
        EXPECT_NE(status, 2) << output.toStdString();
        return output.toStdString();
    }

    QTemporaryDir dir_;
};

// Lines and their look-alikes in the other file: one kind, two kinds at once, and a real change.
const QByteArray kLinesA = "alpha \nBeta\ncafe\xCC\x81\nGamma  \nsame\n\xD0\xB0pple\nreal change\n";
const QByteArray kLinesB = "alpha\nbeta\ncaf\xC3\xA9\ngamma\nsame\napple\nreal chance\n";

} // namespace

TEST_F(CliExplainTest, ReadableLinesNameTheLookalikeLineAndTheKinds) {
    Write(u"a.txt"_s, kLinesA);
    Write(u"b.txt"_s, kLinesB);
    {
        EXPECT_EQ(Run(Options(Mode::Lines, false, true)),
                  "--- a.txt: 6 lines not in b.txt\n"
                  "< alpha \n    looks like line 1 of b.txt: trailing-space\n"
                  "< Beta\n    looks like line 2 of b.txt: case\n"
                  "< cafe\xCC\x81\n    looks like line 3 of b.txt: unicode-form\n"
                  "< Gamma  \n    looks like line 4 of b.txt: trailing-space, case\n"
                  "< \xD0\xB0pple\n    looks like line 6 of b.txt: confusable\n"
                  "< real change\n"
                  "--- b.txt: 6 lines not in a.txt\n"
                  "> alpha\n    looks like line 1 of a.txt: trailing-space\n"
                  "> beta\n    looks like line 2 of a.txt: case\n"
                  "> caf\xC3\xA9\n    looks like line 3 of a.txt: unicode-form\n"
                  "> gamma\n    looks like line 4 of a.txt: trailing-space, case\n"
                  "> apple\n    looks like line 6 of a.txt: confusable\n"
                  "> real chance\n");
    }
}

TEST_F(CliExplainTest, ReadableWordsNameThePartnerLineAndTheKinds) {
    Write(u"a.txt"_s, "one Two three\nfour fi\xE2\x80\x8Bve\nsix\t\n");
    Write(u"b.txt"_s, "one two three\nfour five\nsix seven\n");
    EXPECT_EQ(Run(Options(Mode::Words, false, true)),
              "--- a.txt: 3 words not supplied by the lines of b.txt\n"
              "< Two\n    looks like line 1 of b.txt: case\n"
              "< fi\xE2\x80\x8Bve\n    looks like line 2 of b.txt: zero-width\n"
              "< six\t\n    looks like line 3 of b.txt: trailing-space\n"
              "--- b.txt: 4 words not supplied by the lines of a.txt\n"
              "> two\n    looks like line 1 of a.txt: case\n"
              "> five\n    looks like line 2 of a.txt: zero-width\n"
              "> six\n    looks like line 3 of a.txt: trailing-space\n"
              "> seven\n");
}

// Where the texts cannot be held within the memory the tool may take, or their red lines not
// keyed, the differences are still all told, without look-alikes (a note on stderr says why).
TEST_F(CliExplainTest, WithoutRoomForLookalikesTheReportIsTheOneWithoutThem) {
    Write(u"a.txt"_s, kLinesA);
    Write(u"b.txt"_s, kLinesB);
    for (const Mode mode : {Mode::Lines, Mode::Words})
        for (const bool json : {false, true})
            EXPECT_EQ(Run(Options(mode, json, true, 0)), Run(Options(mode, json, false)))
                << (mode == Mode::Lines ? "lines" : "words") << (json ? " json" : "");

    // Texts that are held with little room to spare, and too many red lines to key in it: the
    // run's own 32 MB, 16 MB of room at least, both texts as UTF-16 and their indexes, and 1 MB.
    constexpr qint64 kLines = 40000;
    QByteArray a, b;
    for (qint64 i = 0; i < kLines; ++i) {
        const QByteArray line = QByteArray::number(i).rightJustified(80, 'x');
        a += line + "\n";
        b += line.toUpper() + "\n";
    }
    Write(u"a.txt"_s, a);
    Write(u"b.txt"_s, b);
    const qint64 units = 82 * kLines + 1;
    const qint64 held = 2 * (2 * units + 16 * (kLines + 3));
    const qint64 memory = (qint64{48} << 20) + held + (qint64{1} << 20);
    const std::string plain = Run(Options(Mode::Lines, false, false));
    EXPECT_EQ(Run(Options(Mode::Lines, false, true, memory)), plain);
}

// With the memory the tool may take by default, three times the files' size and 100 MB, the
// look-alikes of many short lines are searched for: 80,000 numbered lines against the same lines
// with trailing blanks (1.1 MB in all), every line red and every one a look-alike.
TEST_F(CliExplainTest, TheDefaultAllowanceHasRoomToSearchSmallFiles) {
    constexpr int kLines = 80000;
    QByteArray a, b;
    for (int i = 1; i <= kLines; ++i) {
        a += QByteArray::number(i) + "\n";
        b += QByteArray::number(i) + "  \n";
    }
    Write(u"a.txt"_s, a);
    Write(u"b.txt"_s, b);
    CliOptions options = Options(Mode::Lines, false, true);
    options.memoryBytes.reset();
    const QByteArray report = QByteArray::fromStdString(Run(options));
    EXPECT_EQ(report.count("looks like line "), 2 * kLines);
    EXPECT_TRUE(report.contains("\n< 79999\n    looks like line 79999 of b.txt: trailing-space\n"));
}

// Places are in UTF-16 units of the loaded texts, as the marks are: a line with its CR, a word
// alone; the look-alike the same way.
TEST_F(CliExplainTest, JsonListsEachLookalikeWithBothPlaces) {
    // Loaded: "x \r\nSame\r\n\r" against "x\r\nsame\r\n\r".
    Write(u"a.txt"_s, "x \nSame\n");
    Write(u"b.txt"_s, "x\nsame\n");
    EXPECT_EQ(
        Run(Options(Mode::Lines, true, true)),
        R"({"mode":"lines","file1":{"result":"x \r\nSame\r","marks":[[0,9]],"lookalikes":[)"
        R"({"start":0,"length":3,"other_start":0,"other_length":2,"kinds":["trailing-space"]},)"
        R"({"start":3,"length":6,"other_start":2,"other_length":6,"kinds":["case"]}],)"
        R"("entries":[{"line":1,"text":"x "},{"line":2,"text":"Same"}]},)"
        R"("file2":{"result":"x\r\nsame\r","marks":[[0,8]],"lookalikes":[)"
        R"({"start":0,"length":2,"other_start":0,"other_length":3,"kinds":["trailing-space"]},)"
        R"({"start":2,"length":6,"other_start":3,"other_length":6,"kinds":["case"]}],)"
        R"("entries":[{"line":1,"text":"x"},{"line":2,"text":"same"}]}})"
        "\n");
    Write(u"a.txt"_s, "x Y z\nq\n");
    Write(u"b.txt"_s, "x y z\nr\n");
    EXPECT_EQ(Run(Options(Mode::Words, true, true)),
              R"({"mode":"words","file1":{"result":"\r\nY\r\nq","marks":[[2,1],[7,1]],)"
              R"("lookalikes":[{"start":2,"length":1,"other_start":2,"other_length":1,)"
              R"("kinds":["case"]}],)"
              R"("entries":[{"line":1,"word":1,"text":"Y"},{"line":2,"word":0,"text":"q"}]},)"
              R"("file2":{"result":"\r\ny\r\nr","marks":[[2,1],[7,1]],)"
              R"("lookalikes":[{"start":2,"length":1,"other_start":2,"other_length":1,)"
              R"("kinds":["case"]}],)"
              R"("entries":[{"line":1,"word":1,"text":"y"},{"line":2,"word":0,"text":"r"}]}})"
              "\n");
    Write(u"b.txt"_s, "x Y z\nq\n");
    EXPECT_EQ(Run(Options(Mode::Words, true, true)),
              R"({"mode":"words","file1":{"result":"","marks":[],"lookalikes":[],"entries":[]},)"
              R"("file2":{"result":"","marks":[],"lookalikes":[],"entries":[]}})"
              "\n");
}

// A line (lines) or a word (words) of more than a quarter of a million units is passed over, red
// or searched: keying it would take several times its size. The short words of a long line are
// not.
TEST_F(CliExplainTest, GiantLinesAndWordsHaveNoLookalike) {
    const QByteArray giant(std::size_t{1} << 18, 'w');
    Write(u"a.txt"_s, "W " + giant + "w\nA\n");
    Write(u"b.txt"_s, "w " + giant + "W\na\n");
    std::string report = Run(Options(Mode::Lines, false, true));
    EXPECT_EQ(report.find("looks like line 1 "), std::string::npos) << report.substr(0, 80);
    EXPECT_NE(report.find("looks like line 2 of b.txt: case"), std::string::npos);
    report = Run(Options(Mode::Words, false, true));
    ASSERT_NE(report.find("< W\n"), std::string::npos) << report.substr(0, 120);
    EXPECT_EQ(report.find("< W\n    looks like line 1 of b.txt: case\n< " + giant.toStdString() +
                          "w\n< A\n    looks like line 2 of b.txt: case\n"),
              report.find("< W\n"))
        << report.substr(0, 120);
}

// More look-alikes than are kept in one block, kept for their turn or found again: each stays
// under its own entry.
TEST_F(CliExplainTest, ManyLookalikesStayUnderTheirEntries) {
    QByteArray a, b, expected;
    for (int i = 1; i <= 5000; ++i) {
        a += "Word" + QByteArray::number(i) + " x\n";
        b += "word" + QByteArray::number(i) + " x\n";
        expected += "< Word" + QByteArray::number(i) + "\n    looks like line " +
                    QByteArray::number(i) + " of b.txt: case\n";
    }
    Write(u"a.txt"_s, a);
    Write(u"b.txt"_s, b);
    const std::string report = Run(Options(Mode::Words, false, true));
    ASSERT_EQ(report.substr(report.find('\n') + 1, expected.size()), expected.toStdString());
}

namespace {

struct CollectedBytes final : ByteSink {
    void Write(QByteArrayView bytes) override { all.append(bytes); }
    QByteArray all;
};

} // namespace

// A side's report is the same whether what it makes is kept for its turn or, the room gone, made
// again: the entries, their marks and their look-alikes.
TEST(SideReportTest, LookalikesAreMadeAgainWhenThereIsNoRoomToKeepThem) {
    const Pass pass = [](EntrySink& sink) {
        sink.Entry(u"\r\n", u"Ab", 0, 2, {1, 0});
        sink.Lookalike(EntryLookalike{0, 2, 4, 2, 1, compare::LookalikeKind::Case});
        sink.Entry(u"\r\n", u"c", 3, 1, {2, 0});
        sink.Entry(u"\r\n", u"d\t", 5, 2, {2, 1});
        sink.Lookalike(EntryLookalike{5, 2, 9, 1, 2,
                                      compare::LookalikeKinds(compare::LookalikeKind::Case)
                                          .With(compare::LookalikeKind::TrailingSpace)});
    };
    const QByteArray expected[] = {
        "--- a.txt: 3 words not supplied by the lines of b.txt\n"
        "< Ab\n    looks like line 1 of b.txt: case\n< c\n"
        "< d\t\n    looks like line 2 of b.txt: trailing-space, case\n",
        R"(,"file1":{"result":"\r\nAb\r\nc\r\nd\t","marks":[[0,2],[3,1],[5,2]],"lookalikes":[)"
        R"({"start":0,"length":2,"other_start":4,"other_length":2,"kinds":["case"]},)"
        R"({"start":5,"length":2,"other_start":9,"other_length":1,)"
        R"("kinds":["trailing-space","case"]}],"entries":[{"line":1,"word":0,"text":"Ab"},)"
        R"({"line":2,"word":0,"text":"c"},{"line":2,"word":1,"text":"d\t"}]})"};
    CliOptions options;
    options.mode = CliOptions::Mode::Words;
    options.file1 = "a.txt";
    options.file2 = "b.txt";
    options.explain = true;
    for (const bool json : {false, true}) {
        options.json = json;
        for (const qint64 bytes : {qint64{1} << 20, qint64{0}}) {
            for (const bool keptFirst : {false, true}) {
                KeptRoom room(bytes);
                SideReport side(options, 1, {"a.txt", "b.txt"}, room);
                CollectedBytes out;
                if (keptFirst)
                    side.Keep(pass);
                side.Write(pass, out);
                EXPECT_EQ(out.all.toStdString(), expected[json].toStdString())
                    << (json ? "json" : "readable") << (bytes == 0 ? ", no room" : "")
                    << (keptFirst ? ", kept first" : "");
            }
        }
    }
}

namespace {

// Bytes that make look-alikes likely: blanks, tabs, case, composed and decomposed letters.
QByteArray RandomFile(std::mt19937& random) {
    static const char* const pieces[] = {"a",  "A",  "b",    " ",  " ",         "\t",      "\n",
                                         "\n", "\n", "\r\n", "ab", "e\xCC\x81", "\xC3\xA9"};
    QByteArray bytes;
    for (int i = static_cast<int>(random() % 40); i > 0; --i)
        bytes.append(pieces[random() % std::size(pieces)]);
    return bytes;
}

// The explained report without what --explain adds.
QByteArray WithoutLookalikes(QByteArray report, bool json) {
    if (json)
        return QString::fromUtf8(report)
            .remove(QRegularExpression(uR"(,"lookalikes":\[(\{[^}]*\},?)*\])"_s))
            .toUtf8();
    QByteArray kept;
    for (const QByteArray& line : report.split('\n'))
        if (!line.startsWith("    looks like line "))
            kept.append(line).append('\n');
    kept.chop(1);
    return kept;
}

} // namespace

// On random pairs, either way the tool compares: --explain only adds; a look-alike it lists is
// the one the window's tooltip names, on the same red piece; the readable report and the JSON
// tell the same look-alikes.
TEST_F(CliExplainTest, ExplainOnlyAddsAndAgreesWithTheWindowsTooltips) {
    std::mt19937 random(12);
    int told = 0;
    for (int round = 0; round < Rounds(120); ++round) {
        const QByteArray a = Write(u"a.txt"_s, RandomFile(random));
        const QByteArray b = Write(u"b.txt"_s, RandomFile(random));
        for (const Mode mode : {Mode::Lines, Mode::Words}) {
            Pane pane1, pane2, pane3, pane4;
            Panes panes{pane1, pane2, pane3, pane4};
            const QtFileSystem files;
            pane1.SetText(ReadTextFile(files, QFile::decodeName(a)) + u"\r"_s);
            pane2.SetText(ReadTextFile(files, QFile::decodeName(b)) + u"\r"_s);
            ScriptedMsgBox box;
            NoEventPump pump;
            const std::atomic<bool> neverCancelled = false;
            if (mode == Mode::Lines) {
                RTB::LineComparisonRun run(panes, pump, neverCancelled);
                Finish(RTB::FindDifferencesIn1(run, box));
                Finish(RTB::FindDifferencesIn2(run, box));
            } else {
                GuardedProcedure proc(box, u"in Tarnwick2021/08/31.Form1.PushButton6_Click "_s);
                Finish(FindWordDifferences(panes, proc, pump, neverCancelled));
            }
            const std::string where =
                "round " + std::to_string(round) + (mode == Mode::Lines ? " lines" : " words");
            for (const qint64 memory : {qint64{1} << 32, qint64{0}}) {
                for (const bool json : {false, true}) {
                    const QByteArray plain =
                        QByteArray::fromStdString(Run(Options(mode, json, false, memory)));
                    const QByteArray explained =
                        QByteArray::fromStdString(Run(Options(mode, json, true, memory)));
                    ASSERT_EQ(WithoutLookalikes(explained, json).toStdString(), plain.toStdString())
                        << where;
                }
            }
            const QByteArray readable = QByteArray::fromStdString(Run(Options(mode, false, true)));
            const QJsonObject report =
                QJsonDocument::fromJson(QByteArray::fromStdString(Run(Options(mode, true, true))))
                    .object();
            const Pane* const own[] = {&pane1, &pane2};
            const QString others[] = {u"Text File #2"_s, u"Text File #1"_s};
            // The readable report's look-alike lines, as the JSON's places and kinds give them.
            QByteArray fromJson;
            for (int file = 0; file < 2; ++file) {
                const QString otherText = own[1 - file]->Text();
                for (const QJsonValue value :
                     report[file == 0 ? u"file1"_s : u"file2"_s][u"lookalikes"_s].toArray()) {
                    const QJsonObject lookalike = value.toObject();
                    // The look-alike's line: pieces cut at CR for lines, CR LF for words.
                    const QStringView before =
                        QStringView(otherText).first(lookalike[u"other_start"_s].toInt());
                    const qsizetype line =
                        1 + (mode == Mode::Lines ? before.count(u'\r') : before.count(u"\r\n"));
                    // A tip may say more (why a word is red, how often a line repeats): the
                    // look-alike is one line of it.
                    QString tip;
                    for (const QString& said :
                         own[file]->TipAt(lookalike[u"start"_s].toInt()).split(u'\n'))
                        if (said.startsWith(u"Differs from"_s))
                            tip = said;
                    if (lookalike[u"length"_s].toInt() > (mode == Mode::Lines ? 1 : 0)) {
                        EXPECT_TRUE(tip.startsWith(
                            u"Differs from line %1 of %2 only by: "_s.arg(line).arg(others[file])))
                            << where << " tip: " << tip.toStdString();
                    }
                    QStringList kinds;
                    for (const QJsonValue kind : lookalike[u"kinds"_s].toArray())
                        kinds.append(kind.toString());
                    fromJson += u"    looks like line %1 of %2.txt: %3\n"_s.arg(line)
                                    .arg(file == 0 ? u"b"_s : u"a"_s, kinds.join(u", "_s))
                                    .toUtf8();
                    ++told;
                }
            }
            QByteArray fromReadable;
            for (const QByteArray& line : readable.split('\n'))
                if (line.startsWith("    looks like line "))
                    fromReadable += line + '\n';
            EXPECT_EQ(fromReadable.toStdString(), fromJson.toStdString()) << where;
        }
    }
    EXPECT_GT(told, 100) << "the random pairs should have look-alikes";
}
