#include "cli/JsonResult.h"
#include "cli/JsonWriter.h"
#include "cli/ReportEntries.h"
#include "cli/ReportSinks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;
using Mode = CliOptions::Mode;
// Where the list goes: the readable report's lines, or the inside of the JSON string.
enum class Style { Readable, Json };

namespace {

// Keeps what is written, and the largest single write; stops wanting more after `wantedBytes`.
class RecordingSink final : public ByteSink {
public:
    explicit RecordingSink(qsizetype wantedBytes = -1) : wantedBytes_(wantedBytes) {}
    void Write(QByteArrayView bytes) override {
        bytes_.append(bytes);
        largestWrite_ = std::max(largestWrite_, bytes.size());
    }
    bool Wants() const override { return wantedBytes_ < 0 || bytes_.size() < wantedBytes_; }
    const QByteArray& Bytes() const { return bytes_; }
    qsizetype LargestWrite() const { return largestWrite_; }

private:
    qsizetype wantedBytes_;
    QByteArray bytes_;
    qsizetype largestWrite_ = 0;
};

std::u16string U16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

// The entries as the comparisons hand them: a line and the CR after it, or CR LF and a word.
std::vector<std::pair<std::u16string, std::u16string>> Entries(Mode mode,
                                                               const QStringList& texts) {
    std::vector<std::pair<std::u16string, std::u16string>> entries;
    for (const QString& text : texts) {
        if (mode == Mode::Lines)
            entries.emplace_back(U16(text), u"\r");
        else
            entries.emplace_back(u"\r\n", U16(text));
    }
    return entries;
}

// The list made whole and converted at once, as a report of a few entries always was.
QByteArray WholeList(Style style, Mode mode, const QStringList& texts) {
    QString list;
    for (const auto& [a, b] : Entries(mode, texts))
        list += QString::fromStdU16String(a) + QString::fromStdU16String(b);
    if (style == Style::Readable)
        return ReportEntries::Convert(mode, list, '<');
    QByteArray escaped;
    JsonWriter::AppendEscaped(escaped, list);
    return escaped;
}

// With `finishEach`, the list is finished after every entry and then goes on, as a report does
// that writes something of its own under an entry.
QByteArray Listed(Style style, Mode mode, const QStringList& texts, std::size_t partUnits,
                  RecordingSink& out, bool finishEach = false) {
    ListSink readable(mode, '<', out, partUnits);
    JsonResult json(out);
    EntryList& sink = style == Style::Readable ? static_cast<EntryList&>(readable) : json;
    for (const auto& [a, b] : Entries(mode, texts)) {
        sink.Entry(a, b, 0, 0, {});
        if (finishEach)
            sink.Finish();
    }
    sink.Finish();
    EXPECT_EQ(sink.Count(), texts.size());
    return out.Bytes();
}

const QString kPair = QString(QChar(0xD83D)) + QChar(0xDE00);
const QString kLoneHigh = QString(QChar(0xD83D));
const QString kLoneLow = QString(QChar(0xDE00));

struct ListCase {
    const char* name;
    Style style;
    Mode mode;
    QStringList texts;
};

void PrintTo(const ListCase& c, std::ostream* out) {
    *out << c.name;
}

class ListSinkPartsTest : public ::testing::TestWithParam<ListCase> {};

} // namespace

// Parts of every size, down to two units, so that a part's edge falls on every unit: inside a
// surrogate pair, between a CR and its LF, inside an escape, inside a word, between entries.
TEST_P(ListSinkPartsTest, PartsOfAnySizeGiveTheWholeListsReport) {
    const ListCase& c = GetParam();
    const QByteArray whole = WholeList(c.style, c.mode, c.texts);
    qsizetype units = 0;
    for (const QString& text : c.texts)
        units += text.size() + 2;
    for (std::size_t part = 2; part <= static_cast<std::size_t>(units) + 2; ++part) {
        for (const bool finishEach : {false, true}) {
            RecordingSink out;
            EXPECT_EQ(Listed(c.style, c.mode, c.texts, part, out, finishEach), whole)
                << "parts of " << part << (finishEach ? ", finished after each entry" : "");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ListSinkPartsTest,
    ::testing::Values(
        ListCase{"ReadableLinesPairs",
                 Style::Readable,
                 Mode::Lines,
                 {u"a"_s + kPair + u"b"_s, kPair, kPair + kPair, u"\u00e9"_s + kPair}},
        ListCase{"ReadableLinesCrLf",
                 Style::Readable,
                 Mode::Lines,
                 {u"one"_s, u"\ntwo"_s, u"\n"_s, u""_s, u"\nx\ny"_s, u"\n\n"_s}},
        ListCase{"ReadableLinesLoneHalves",
                 Style::Readable,
                 Mode::Lines,
                 {kLoneHigh, kLoneLow + u"a"_s, u"b"_s + kLoneHigh, kLoneHigh + kLoneHigh}},
        ListCase{"ReadableWordsPairs",
                 Style::Readable,
                 Mode::Words,
                 {kPair, u"x"_s + kPair, kPair + u"\u00e9"_s, u""_s, kPair.repeated(3)}},
        ListCase{"ReadableWordsLoneCR",
                 Style::Readable,
                 Mode::Words,
                 {u"a\rb"_s, u"x\r"_s, u"\r"_s, u""_s, u"\r\r"_s, u"\nc"_s}},
        ListCase{"ReadableWordsLoneHalves",
                 Style::Readable,
                 Mode::Words,
                 {kLoneHigh, kLoneLow, u"z"_s + kLoneHigh, kLoneHigh + u"\r"_s}},
        ListCase{"JsonLinesEscapes",
                 Style::Json,
                 Mode::Lines,
                 {u"say \"hi\""_s, u"back\\slash"_s, u"\ttab\u0001"_s, u"\n"_s,
                  u"\u00e9\u20ac"_s + kPair}},
        ListCase{"JsonWordsEscapesAndSurrogates",
                 Style::Json,
                 Mode::Words,
                 {u"\""_s, u"\\"_s, kPair, kLoneHigh, kLoneLow, kLoneHigh + u"\""_s, u"\u001f"_s}}),
    [](const ::testing::TestParamInfo<ListCase>& param) { return std::string(param.param.name); });

// A line of many megabytes must not be held, nor its report made, in one piece.
TEST(ListSinkTest, AGiantEntryGoesOutInBoundedWrites) {
    const QString giant = (u"word "_s + kPair + u" \u00e9\"\\ "_s).repeated(200000);
    for (const Style style : {Style::Readable, Style::Json}) {
        for (const Mode mode : {Mode::Lines, Mode::Words}) {
            const QStringList texts{u"before"_s, giant, u"after"_s};
            RecordingSink out;
            EXPECT_EQ(Listed(style, mode, texts, 64, out), WholeList(style, mode, texts));
            // The readable list: four bytes at most for a unit, and the converter's spare room;
            // JSON: a block, and a part of six bytes a unit (an escape) that overflows it.
            EXPECT_LE(out.LargestWrite(),
                      style == Style::Readable
                          ? 6 * 64 + 2 * ReportEntries::kMinimumRoom
                          : (qsizetype{1} << 20) + 6 * qsizetype{EntryBytes::kPartUnits});
        }
    }
}

// Once what the list becomes is thrown away, the entries are still counted, even one that was
// being written in parts at the time.
TEST(ListSinkTest, KeepsCountingWhenTheOutputStopsWanting) {
    const QStringList texts{u"short"_s, u"x"_s.repeated(1000), u"y"_s, u"z"_s.repeated(300)};
    for (const qsizetype wanted : {0, 1, 10, 500, 2000}) {
        RecordingSink out(wanted);
        const QByteArray bytes = Listed(Style::Readable, Mode::Lines, texts, 16, out);
        EXPECT_TRUE(WholeList(Style::Readable, Mode::Lines, texts).startsWith(bytes))
            << "wanted " << wanted;
    }
}
