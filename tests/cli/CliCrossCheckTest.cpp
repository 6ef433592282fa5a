// The tool runs the engine on files read in its own way; the window runs its procedures on panes.
// On many random pairs of files both must find the same, whichever way the tool compares.
#include "FileIn.h"
#include "Finish.h"
#include "ScriptedMsgBox.h"
#include "ToolRun.h"
#include "app/ErrorReport.h"
#include "cli/CliComparison.h"
#include "cli/JsonWriter.h"
#include "cli/ReportEntries.h"
#include "compare/FindDifferences.h"
#include "compare/FindWordDifferences.h"
#include "files/TextFileReading.h"
#include "platform/Pane.h"
#include "platform/QtFileSystem.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

using namespace Qt::StringLiterals;

namespace {

using Mode = CliOptions::Mode;

// Bytes that make lines, words, breaks of every kind, UTF-8, marks and Windows-1252 likely.
QByteArray RandomFile(std::mt19937& random) {
    static const char* const pieces[] = {"a",  "b",  "ab",   " ",  " ",        "\r", "\n",
                                         "\n", "\n", "\r\n", "\t", "\xC3\xA9", "x y"};
    QByteArray bytes;
    const int kind = static_cast<int>(random() % 10);
    if (kind == 0)
        bytes = "\xEF\xBB\xBF";
    for (int i = static_cast<int>(random() % 50); i > 0; --i)
        bytes.append(pieces[random() % std::size(pieces)]);
    if (kind == 1)
        bytes.append("\x93"); // not UTF-8: the whole file is Windows-1252
    return bytes;
}

class CliCrossCheckTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        return WriteFileIn(dir_, name, bytes);
    }

    // What the window's procedures leave in the panes, printed as the tool prints it.
    QByteArray Window(const CliOptions& options) {
        const QString path1 = QFile::decodeName(options.file1);
        const QString path2 = QFile::decodeName(options.file2);
        Pane pane1, pane2, pane3, pane4;
        Panes panes{pane1, pane2, pane3, pane4};
        const QtFileSystem files;
        pane1.SetText(options.exact ? ReadExactTextFile(files, path1)
                                    : ReadTextFile(files, path1) + u"\r"_s);
        pane2.SetText(options.exact ? ReadExactTextFile(files, path2)
                                    : ReadTextFile(files, path2) + u"\r"_s);
        ScriptedMsgBox box;
        NoEventPump pump;
        const std::atomic<bool> neverCancelled = false;
        if (options.mode == Mode::Lines) {
            RTB::LineComparisonRun run(panes, pump, neverCancelled);
            EXPECT_EQ(Finish(RTB::FindDifferencesIn1(run, box)), RTB::Outcome::Finished);
            Finish(RTB::FindDifferencesIn2(run, box));
        } else {
            GuardedProcedure proc(box, u"in Tarnwick2021/08/31.Form1.PushButton6_Click "_s);
            Finish(FindWordDifferences(panes, proc, pump, neverCancelled));
        }
        EXPECT_TRUE(box.shown.empty());
        different = !pane3.Text().isEmpty() || !pane4.Text().isEmpty();
        const QByteArray modeName = options.mode == Mode::Lines ? "lines" : "words";
        if (options.json) {
            QByteArray out = "{\"mode\":\"" + modeName + "\"";
            const std::pair<const char*, std::pair<Pane*, Pane*>> sides[] = {
                {"file1", {&pane1, &pane3}}, {"file2", {&pane2, &pane4}}};
            for (const auto& [key, side] : sides) {
                out.append(",\"").append(key).append("\":{\"result\":");
                JsonWriter::AppendString(out, side.second->Text());
                out.append(",\"marks\":");
                JsonWriter::AppendRanges(out, side.first->RangesOf(kRed));
                out.append('}');
            }
            return out + "}\n";
        }
        QByteArray out;
        const auto side = [&](const QByteArray& own, const QByteArray& other, const Pane& result,
                              char prefix) {
            const qsizetype count = ReportEntries::Count(options.mode, result.Text());
            const QByteArray what = options.mode == Mode::Lines
                                        ? (count == 1 ? " line not in " : " lines not in ")
                                        : (count == 1 ? " word not supplied by the lines of "
                                                      : " words not supplied by the lines of ");
            out += "--- " + own + ": " + QByteArray::number(count) + what + other + "\n";
            out += ReportEntries::Convert(options.mode, result.Text(), prefix);
        };
        side("one.txt", "two.txt", pane3, '<');
        side("two.txt", "one.txt", pane4, '>');
        return out;
    }

    QTemporaryDir dir_;
    bool different = false; // what the window found had differences
};

} // namespace

TEST_F(CliCrossCheckTest, TheToolFindsWhatTheWindowFindsEitherWay) {
    std::mt19937 random(41);
    const QString one = dir_.filePath(u"one.txt"_s);
    const QString two = dir_.filePath(u"two.txt"_s);
    for (int round = 0; round < 150; ++round) {
        Write(u"one.txt"_s, RandomFile(random));
        Write(u"two.txt"_s, round % 7 == 0 ? QByteArray() : RandomFile(random));
        for (const Mode mode : {Mode::Lines, Mode::Words}) {
            for (const bool json : {false, true}) {
                CliOptions options;
                options.mode = mode;
                options.file1 = QFile::encodeName(one);
                options.file2 = QFile::encodeName(two);
                options.json = json;
                options.exact = round % 5 == 0;
                const QByteArray expected = Window(options);
                // Held texts, then texts read again for each pass with next to no room to keep
                // report bytes in, which makes every pass run twice.
                for (const qint64 memory : {qint64{1} << 32, qint64{0}}) {
                    options.memoryBytes = memory;
                    int status = -1;
                    ASSERT_EQ(RunTool(options, status).toStdString(), expected.toStdString())
                        << "round " << round << (mode == Mode::Lines ? " lines" : " words")
                        << (json ? " json" : "") << (memory == 0 ? " streamed" : " held");
                    ASSERT_EQ(status, different ? 1 : 0);
                }
            }
        }
    }
}
