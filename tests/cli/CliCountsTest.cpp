// --counts: the lines both files hold a different number of times, each at its first line, with
// both counts; whether the texts are held or the files read in passes.
#include "FileIn.h"
#include "ToolRun.h"
#include "cli/CliOptions.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class CliCountsTest : public ::testing::Test {
protected:
    QByteArray Write(const QString& name, const QByteArray& bytes) {
        return QFile::encodeName(WriteFileIn(dir_, name, bytes));
    }
    QByteArray Run(CliOptions options, int& status) { return RunTool(options, status); }

    QTemporaryDir dir_;
};

// Repeats at both ends of files long enough to be read in many chunks: "head" three times at
// the start of one and once at the end of the other, "tail" the other way round, and a line that
// only one file holds, which is a difference and no counted line.
constexpr int kMiddle = 60000;

QByteArray Repeats(bool first) {
    QByteArray middle;
    for (int i = 0; i < kMiddle; ++i)
        middle += "line " + QByteArray::number(i) + "\n";
    if (first)
        return "head\nhead\nhead\nonly\n" + middle + "tail\ntail\n";
    return "tail\ntail\ntail\ntail\n" + middle + "head\n";
}

} // namespace

TEST_F(CliCountsTest, RepeatsAtBothEndsAreCountedHeldOrReadInPasses) {
    const QByteArray a = Write(u"a.txt"_s, Repeats(true));
    const QByteArray b = Write(u"b.txt"_s, Repeats(false));
    const QByteArray firstLast = QByteArray::number(kMiddle + 5);  // a's first "tail"
    const QByteArray secondLast = QByteArray::number(kMiddle + 5); // b's "head"
    const QByteArray expected = "--- a.txt: 1 line not in b.txt\n< 4: only\n"
                                "--- a.txt: 2 lines counted differently in b.txt\n"
                                "< 1: 3\xC3\x97 in a.txt, 1\xC3\x97 in b.txt: head\n"
                                "< " +
                                firstLast +
                                ": 2\xC3\x97 in a.txt, 4\xC3\x97 in b.txt: tail\n"
                                "--- b.txt: 0 lines not in a.txt\n"
                                "--- b.txt: 2 lines counted differently in a.txt\n"
                                "> 1: 4\xC3\x97 in b.txt, 2\xC3\x97 in a.txt: tail\n"
                                "> " +
                                secondLast + ": 1\xC3\x97 in b.txt, 3\xC3\x97 in a.txt: head\n";
    // Either file may be the one whose lines a reading in passes holds: the smaller.
    for (const bool swapped : {false, true}) {
        CliOptions options;
        options.counts = true;
        options.file1 = swapped ? b : a;
        options.file2 = swapped ? a : b;
        QByteArray held, heldJson;
        for (const qint64 memory : {qint64{1} << 32, qint64{0}}) {
            const std::string where =
                std::string(swapped ? "b a" : "a b") + (memory ? " held" : " in passes");
            options.memoryBytes = memory;
            options.lineNumbers = true;
            options.json = false;
            int status = -1;
            const QByteArray readable = Run(options, status);
            EXPECT_EQ(status, 1);
            if (!swapped) {
                EXPECT_EQ(readable.toStdString(), expected.toStdString()) << where;
            }
            options.lineNumbers = false;
            options.json = true;
            const QByteArray json = Run(options, status);
            const QJsonDocument parsed = QJsonDocument::fromJson(json);
            ASSERT_TRUE(parsed.isObject()) << where;
            const QJsonArray counts =
                parsed[swapped ? u"file2"_s : u"file1"_s][u"counts"_s].toArray();
            ASSERT_EQ(counts.size(), 2) << where;
            EXPECT_EQ(counts[0].toObject(), (QJsonObject{{u"start"_s, 0},
                                                         {u"length"_s, 5},
                                                         {u"here"_s, 3},
                                                         {u"there"_s, 1},
                                                         {u"line"_s, 1},
                                                         {u"text"_s, u"head"_s}}))
                << where;
            EXPECT_EQ(counts[1][u"here"_s].toInt(), 2) << where;
            EXPECT_EQ(counts[1][u"there"_s].toInt(), 4) << where;
            EXPECT_EQ(counts[1][u"text"_s].toString(), u"tail"_s) << where;
            if (memory) {
                held = readable;
                heldJson = json;
            } else {
                EXPECT_EQ(readable, held) << where;
                EXPECT_EQ(json, heldJson) << where;
            }
            // Only the answer, or how many: the counted lines are differences too.
            options.json = false;
            options.count = true;
            EXPECT_EQ(Run(options, status).toStdString(),
                      swapped ? "2 b.txt\n3 a.txt\n" : "3 a.txt\n2 b.txt\n")
                << where;
            options.count = false;
            options.quiet = true;
            EXPECT_EQ(Run(options, status), QByteArray()) << where;
            EXPECT_EQ(status, 1) << where;
            options.quiet = false;
        }
    }
}

// Files that hold the same lines, some of them a different number of times: with --counts those
// are the only differences, and they set the exit status; without it there is none.
TEST_F(CliCountsTest, ACountedLineAloneIsADifference) {
    CliOptions options;
    options.file1 = Write(u"a.txt"_s, "x\ny\nx\n");
    options.file2 = Write(u"b.txt"_s, "y\nx\ny\ny\n");
    for (const qint64 memory : {qint64{1} << 32, qint64{0}}) {
        options.memoryBytes = memory;
        for (const bool quiet : {false, true}) {
            options.quiet = quiet;
            int status = -1;
            options.counts = false;
            Run(options, status);
            EXPECT_EQ(status, 0) << memory << quiet;
            options.counts = true;
            const QByteArray report = Run(options, status);
            EXPECT_EQ(status, 1) << memory << quiet;
            if (!quiet) {
                EXPECT_EQ(report.toStdString(), "--- a.txt: 0 lines not in b.txt\n"
                                                "--- a.txt: 2 lines counted differently in b.txt\n"
                                                "< 2\xC3\x97 in a.txt, 1\xC3\x97 in b.txt: x\n"
                                                "< 1\xC3\x97 in a.txt, 3\xC3\x97 in b.txt: y\n"
                                                "--- b.txt: 0 lines not in a.txt\n"
                                                "--- b.txt: 2 lines counted differently in a.txt\n"
                                                "> 3\xC3\x97 in b.txt, 1\xC3\x97 in a.txt: y\n"
                                                "> 1\xC3\x97 in b.txt, 2\xC3\x97 in a.txt: x\n")
                    << memory;
            }
        }
    }
}
