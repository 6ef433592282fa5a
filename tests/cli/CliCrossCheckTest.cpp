// The tool runs the engine on files read in its own way; the window runs its procedures on panes.
// On many random pairs of files both must find the same, whichever way the tool compares; what
// only the tool tells (each entry's line, the lines counted differently) is checked against the
// panes and against a plain count.
#include "FileIn.h"
#include "Finish.h"
#include "SanitizedRounds.h"
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
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

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

// A side as the window leaves it.
struct WindowSide {
    QString text;   // the full pane
    QString result; // the result pane
    std::vector<TextRange> marks;
};

// The pieces of a text cut at CR, each with where it starts.
std::vector<std::pair<qsizetype, QString>> PiecesOf(const QString& text) {
    std::vector<std::pair<qsizetype, QString>> pieces;
    if (text.isEmpty())
        return pieces;
    qsizetype start = 0;
    for (const QString& piece : text.split(u'\r')) {
        pieces.emplace_back(start, piece);
        start += piece.size() + 1;
    }
    return pieces;
}

QString ContentOf(const QString& piece) {
    return piece.startsWith(u'\n') ? piece.sliced(1) : piece;
}

// The pieces of a text that are lines of its file: without the piece after the CR a load
// appends, nor, after the file's last line break, a piece that is empty or LF alone.
std::vector<std::pair<qsizetype, QString>> LinesOf(const QString& text, bool appendedCR) {
    auto pieces = PiecesOf(text);
    if (appendedCR && !pieces.empty())
        pieces.pop_back();
    if (!pieces.empty() && (pieces.back().second.isEmpty() || pieces.back().second == u"\n"_s))
        pieces.pop_back();
    return pieces;
}

// The lines both texts hold a different number of times, as --counts tells them for `own`,
// counted here the plain way: a table of each line's count in each file.
struct CountedModel {
    qsizetype start, length, line, here, there;
    QString text;
};
std::vector<CountedModel> CountedLines(const QString& own, const QString& other, bool appendedCR) {
    QHash<QString, qsizetype> here, there;
    const auto lines = LinesOf(own, appendedCR);
    for (const auto& [start, piece] : lines)
        ++here[ContentOf(piece)];
    for (const auto& [start, piece] : LinesOf(other, appendedCR))
        ++there[ContentOf(piece)];
    std::vector<CountedModel> counted;
    QSet<QString> met;
    qsizetype line = 0;
    for (const auto& [start, piece] : lines) {
        ++line;
        const QString content = ContentOf(piece);
        if (met.contains(content))
            continue;
        met.insert(content);
        if (there.value(content) != 0 && there.value(content) != here.value(content)) {
            const bool endsWithCR = start + piece.size() < own.size();
            counted.push_back({start, piece.size() + (endsWithCR ? 1 : 0), line,
                               here.value(content), there.value(content), content});
        }
    }
    return counted;
}

// Takes each "entries" list out of a JSON report; returns the report without them.
QByteArray TakeEntries(QByteArray json, std::vector<QJsonArray>& lists) {
    const QByteArray key = R"(,"entries":[)";
    for (qsizetype at; (at = json.indexOf(key)) >= 0;) {
        qsizetype end = at + key.size();
        bool inString = false;
        for (int depth = 1; depth > 0; ++end) {
            const char c = json[end];
            if (inString && c == '\\')
                ++end;
            else if (c == '"')
                inString = !inString;
            else if (!inString && (c == '[' || c == '{'))
                ++depth;
            else if (!inString && (c == ']' || c == '}'))
                --depth;
        }
        const qsizetype open = at + key.size() - 1;
        // Qt's parser drops a U+FEFF written as it is; escaped, it is the same JSON.
        QByteArray list = json.mid(open, end - open);
        list.replace("\xEF\xBB\xBF", "\\ufeff");
        QJsonParseError error;
        lists.push_back(QJsonDocument::fromJson(list, &error).array());
        EXPECT_EQ(error.error, QJsonParseError::NoError) << list.data();
        json.remove(at, end - at);
    }
    return json;
}

// The entries of a side must be its result's, in order, each at the line (and word) where its
// text stands, as the pane's text is cut.
void ExpectEntriesOf(Mode mode, const WindowSide& side, const QJsonArray& entries,
                     const std::string& where) {
    if (mode == Mode::Lines) {
        QStringList red = side.result.split(u'\r');
        red.removeLast(); // each entry ends with a CR
        ASSERT_EQ(entries.size(), red.size()) << where;
        const auto pieces = PiecesOf(side.text);
        std::size_t next = 0;
        for (qsizetype i = 0; i < red.size(); ++i) {
            while (next < pieces.size() && pieces[next].second != red[i])
                ++next;
            ASSERT_LT(next, pieces.size()) << where;
            EXPECT_EQ(entries[i][u"line"_s].toInteger(), qint64(next) + 1) << where;
            EXPECT_EQ(entries[i][u"text"_s].toString(), ContentOf(red[i])) << where;
            ++next;
        }
        return;
    }
    QStringList red = side.result.split(u"\r\n"_s);
    red.removeFirst(); // each entry starts with CR LF
    ASSERT_EQ(entries.size(), red.size()) << where;
    const QString body = side.text.endsWith(u'\r') ? side.text.chopped(1) : side.text;
    const QStringList lines = body.isEmpty() ? QStringList() : body.split(u"\r\n"_s);
    std::vector<TextRange> marks; // of the words that are not empty
    std::pair<qint64, qint64> last{0, -1};
    for (qsizetype i = 0; i < red.size(); ++i) {
        const qint64 line = entries[i][u"line"_s].toInteger();
        const qint64 word = entries[i][u"word"_s].toInteger();
        ASSERT_TRUE(line >= 1 && line <= lines.size()) << where << " line " << line;
        const QStringList words = lines[line - 1].split(u' ');
        ASSERT_LT(word, words.size()) << where;
        EXPECT_EQ(words[word], red[i]) << where << " at " << line << ":" << word;
        EXPECT_EQ(entries[i][u"text"_s].toString(), red[i]) << where;
        EXPECT_LT(last, std::pair(line, word)) << where;
        last = {line, word};
        qsizetype start = 0;
        for (qint64 l = 0; l + 1 < line; ++l)
            start += lines[l].size() + 2;
        for (qint64 w = 0; w < word; ++w)
            start += words[w].size() + 1;
        if (!red[i].isEmpty())
            marks.push_back({start, red[i].size()});
    }
    EXPECT_EQ(marks, side.marks) << where;
}

class CliCrossCheckTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        return WriteFileIn(dir_, name, bytes);
    }

    // Runs the window's procedures on the files and keeps what they leave in the panes.
    void RunWindow(const CliOptions& options) {
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
        sides[0] = {pane1.Text(), pane3.Text(), pane1.RangesOf(kRed)};
        sides[1] = {pane2.Text(), pane4.Text(), pane2.RangesOf(kRed)};
        different = !pane3.Text().isEmpty() || !pane4.Text().isEmpty();
    }

    // What the window found, printed as the tool prints it; JSON without its entries, which are
    // checked on their own (ExpectEntriesOf). With `entries`, the readable lists are numbered
    // from them.
    QByteArray Expected(const CliOptions& options, const std::vector<QJsonArray>* entries = {}) {
        const QByteArray modeName = options.mode == Mode::Lines ? "lines" : "words";
        const QByteArray names[] = {"one.txt", "two.txt"};
        if (options.json) {
            QByteArray out = "{\"mode\":\"" + modeName + "\"";
            for (int i = 0; i < 2; ++i) {
                out.append(",\"file").append(char('1' + i)).append("\":{\"result\":");
                JsonWriter::AppendString(out, sides[i].result);
                out.append(",\"marks\":");
                JsonWriter::AppendRanges(out, sides[i].marks);
                if (options.counts) {
                    out.append(",\"counts\":[");
                    bool first = true;
                    for (const CountedModel& c :
                         CountedLines(sides[i].text, sides[1 - i].text, !options.exact)) {
                        out.append(first ? "" : ",");
                        first = false;
                        out.append("{\"start\":" + QByteArray::number(c.start) +
                                   ",\"length\":" + QByteArray::number(c.length) +
                                   ",\"here\":" + QByteArray::number(c.here) +
                                   ",\"there\":" + QByteArray::number(c.there) +
                                   ",\"line\":" + QByteArray::number(c.line) + ",\"text\":");
                        JsonWriter::AppendString(out, c.text);
                        out.append('}');
                    }
                    out.append(']');
                }
                out.append('}');
            }
            return out + "}\n";
        }
        QByteArray out;
        for (int i = 0; i < 2; ++i) {
            const char prefix = i == 0 ? '<' : '>';
            const QByteArray& own = names[i];
            const QByteArray& other = names[1 - i];
            const qsizetype count = ReportEntries::Count(options.mode, sides[i].result);
            const QByteArray what = options.mode == Mode::Lines
                                        ? (count == 1 ? " line not in " : " lines not in ")
                                        : (count == 1 ? " word not supplied by the lines of "
                                                      : " words not supplied by the lines of ");
            out += "--- " + own + ": " + QByteArray::number(count) + what + other + "\n";
            if (entries == nullptr) {
                out += ReportEntries::Convert(options.mode, sides[i].result, prefix);
            } else {
                for (const QJsonValue entry : (*entries)[i])
                    out += prefix + (" " + QByteArray::number(entry[u"line"_s].toInteger())) +
                           ": " + entry[u"text"_s].toString().toUtf8() + "\n";
            }
            if (!options.counts)
                continue;
            const auto counted = CountedLines(sides[i].text, sides[1 - i].text, !options.exact);
            out += "--- " + own + ": " + QByteArray::number(counted.size()) +
                   (counted.size() == 1 ? " line" : " lines") + " counted differently in " + other +
                   "\n";
            for (const CountedModel& c : counted)
                out += prefix + (entries ? " " + QByteArray::number(c.line) + ":" : "") + " " +
                       QByteArray::number(c.here) + "\xC3\x97 in " + own + ", " +
                       QByteArray::number(c.there) + "\xC3\x97 in " + other + ": " +
                       c.text.toUtf8() + "\n";
        }
        return out;
    }

    bool Counted(bool appendedCR) const {
        return !CountedLines(sides[0].text, sides[1].text, appendedCR).empty() ||
               !CountedLines(sides[1].text, sides[0].text, appendedCR).empty();
    }

    QTemporaryDir dir_;
    WindowSide sides[2];
    bool different = false; // what the window found had differences
};

} // namespace

// Each report, readable or JSON, with line numbers or counted lines or neither, must be what the
// window found (its entries where the window has none, checked against its panes), and the same
// whether the texts are held or read again for each pass with next to no room to keep report
// bytes in, which makes every pass run twice.
TEST_F(CliCrossCheckTest, TheToolFindsWhatTheWindowFindsEitherWay) {
    std::mt19937 random(41);
    const QString one = dir_.filePath(u"one.txt"_s);
    const QString two = dir_.filePath(u"two.txt"_s);
    for (int round = 0; round < Rounds(150); ++round) {
        Write(u"one.txt"_s, RandomFile(random));
        Write(u"two.txt"_s, round % 7 == 0 ? QByteArray() : RandomFile(random));
        for (const Mode mode : {Mode::Lines, Mode::Words}) {
            CliOptions options;
            options.mode = mode;
            options.file1 = QFile::encodeName(one);
            options.file2 = QFile::encodeName(two);
            options.exact = round % 5 == 0;
            options.counts = mode == Mode::Lines && round % 2 == 1;
            RunWindow(options);
            const bool differs = different || (options.counts && Counted(!options.exact));
            std::vector<QJsonArray> entries;
            const auto where = [&](const CliOptions& asked, qint64 memory) {
                return "round " + std::to_string(round) +
                       (mode == Mode::Lines ? " lines" : " words") + (asked.json ? " json" : "") +
                       (asked.lineNumbers ? " -n" : "") + (asked.counts ? " counts" : "") +
                       (memory == 0 ? " streamed" : " held");
            };
            for (const bool json : {true, false}) {
                for (const bool lineNumbers : {false, true}) {
                    if (json && lineNumbers)
                        continue;
                    options.json = json;
                    options.lineNumbers = lineNumbers;
                    const QByteArray expected = Expected(options, lineNumbers ? &entries : nullptr);
                    for (const qint64 memory : {qint64{1} << 32, qint64{0}}) {
                        options.memoryBytes = memory;
                        int status = -1;
                        QByteArray report = RunTool(options, status);
                        if (json) {
                            std::vector<QJsonArray> lists;
                            report = TakeEntries(report, lists);
                            ASSERT_EQ(lists.size(), 2u) << where(options, memory);
                            for (int i = 0; i < 2; ++i)
                                ExpectEntriesOf(mode, sides[i], lists[i], where(options, memory));
                            entries = lists;
                        }
                        ASSERT_EQ(report.toStdString(), expected.toStdString())
                            << where(options, memory);
                        ASSERT_EQ(status, differs ? 1 : 0);
                    }
                }
            }
        }
    }
}
