#include "platform/ResultList.h"

#include "platform/TextLines.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

ResultList Listed(const QString& source, ResultList::Form form,
                  const std::vector<TextRange>& entries) {
    ResultList::Builder builder(source, form);
    for (const TextRange& entry : entries)
        builder.Add(entry);
    return std::move(builder).Finish();
}

// What the list must read back as, written out the plain way.
QString Spelled(const QString& source, ResultList::Form form,
                const std::vector<TextRange>& entries) {
    QString text;
    for (const TextRange& entry : entries) {
        if (form == ResultList::Form::Words)
            text += u"\r\n"_s;
        text += source.mid(entry.start, entry.length);
        if (form == ResultList::Form::Pieces)
            text += u"\r"_s;
    }
    return text;
}

// The list's lines must be the lines of its text, cut as any pane text is.
void ExpectLinesOfTheSpelledText(const ResultList& list, const QString& spelled) {
    const TextLines lines(spelled);
    ASSERT_EQ(list.LineCount(), lines.Count()) << spelled.toStdString();
    for (qsizetype line = 0; line < lines.Count(); ++line) {
        EXPECT_EQ(list.LineStart(line), lines.Start(line)) << "line " << line;
        EXPECT_EQ(list.LineEnd(line), lines.End(spelled, line)) << "line " << line;
        EXPECT_EQ(list.LineView(line).toString(),
                  spelled.mid(lines.Start(line), lines.End(spelled, line) - lines.Start(line)));
    }
    for (qsizetype position = 0; position <= spelled.size(); ++position)
        EXPECT_EQ(list.LineAt(position), lines.LineAt(position)) << "position " << position;
}

// Each entry stands on a line of its own, in order, as its units stand in the source: a piece
// without the LF in front of it; the lines around them show none.
void ExpectEntriesOnTheirLines(const ResultList& list, const QString& source,
                               const std::vector<TextRange>& entries) {
    std::vector<TextRange> shown, expected;
    for (qsizetype line = 0; line < list.LineCount(); ++line) {
        if (const std::optional<TextRange> entry = list.SourceOfLine(line)) {
            shown.push_back(*entry);
            EXPECT_EQ(source.mid(entry->start, entry->length), list.LineView(line).toString());
        }
    }
    for (TextRange entry : entries) {
        const bool lf = list.ListForm() == ResultList::Form::Pieces && entry.length > 0 &&
                        source[entry.start] == u'\n';
        expected.push_back({entry.start + lf, entry.length - lf});
    }
    EXPECT_EQ(shown, expected) << source.toStdString();
    EXPECT_FALSE(list.SourceOfLine(-1));
    EXPECT_FALSE(list.SourceOfLine(list.LineCount()));
}

} // namespace

TEST(ResultListTest, ReadsBackAsTheTextItStandsFor) {
    const QString source = u"one\r\ntwo\r\n\r\nthree\r"_s;
    const std::vector<TextRange> pieces{{0, 3}, {4, 4}, {9, 1}, {11, 6}};
    const ResultList list = Listed(source, ResultList::Form::Pieces, pieces);
    const QString spelled = Spelled(source, ResultList::Form::Pieces, pieces);
    EXPECT_EQ(spelled, u"one\r\ntwo\r\n\r\nthree\r"_s);
    EXPECT_EQ(list.Mid(0, list.Length()), spelled);
    EXPECT_EQ(list.Mid(2, 7), spelled.mid(2, 5)) << "any stretch, across entries";
    EXPECT_EQ(list.Entry(1), (TextRange{4, 4}));
    ExpectLinesOfTheSpelledText(list, spelled);
}

TEST(ResultListTest, LinesOfBothFormsOnRandomLists) {
    std::mt19937 random(11);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n)(random); };
    const QString alphabet = u"ab \r\n"_s;
    for (int round = 0; round < 500; ++round) {
        QString source;
        for (int i = pick(30); i > 0; --i)
            source += alphabet[pick(4)];
        for (const auto form : {ResultList::Form::Pieces, ResultList::Form::Words}) {
            // Entries as the comparisons make them: pieces cut at CR, words without breaks.
            std::vector<TextRange> entries;
            for (qsizetype at = 0; at < source.size();) {
                qsizetype end = at;
                while (end < source.size() && source[end] != u'\r' &&
                       (form == ResultList::Form::Pieces || source[end] != u'\n'))
                    ++end;
                if (pick(1) == 1)
                    entries.push_back({at, end - at});
                at = end + 1;
            }
            const ResultList list = Listed(source, form, entries);
            const QString spelled = Spelled(source, form, entries);
            ASSERT_EQ(list.Mid(0, list.Length()), spelled);
            if (list.Listable()) {
                ExpectLinesOfTheSpelledText(list, spelled);
                ExpectEntriesOnTheirLines(list, source, entries);
            }
        }
    }
}

TEST(ResultListTest, AnEntryWithABreakOfItsOwnCannotBeListedByPlace) {
    const QString source = u"a\nb c\r\nd"_s;
    EXPECT_FALSE(Listed(source, ResultList::Form::Words, {{0, 3}}).Listable())
        << "a word holding a lone LF";
    EXPECT_TRUE(Listed(source, ResultList::Form::Words, {{4, 1}}).Listable());
    EXPECT_TRUE(Listed(u"a\r\nb\r"_s, ResultList::Form::Pieces, {{2, 2}}).Listable())
        << "the LF in front of a piece is the break before it";
    EXPECT_FALSE(Listed(source, ResultList::Form::Pieces, {{0, 5}}).Listable());
}

// A list of whole pieces is kept as a selection of them, which finds each entry again from the
// text: long texts with short and very long pieces, and lists that are no selection of pieces.
TEST(ResultListTest, PiecesAreFoundAgainInLongTexts) {
    std::mt19937 random(5);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n)(random); };
    for (int round = 0; round < 8; ++round) {
        QString source;
        std::vector<TextRange> pieces;
        for (int i = 150 + pick(150); i > 0; --i) {
            const int length = pick(20) == 0 ? 4000 + pick(500) : pick(6);
            const qsizetype start = source.size();
            source += (pick(1) == 0 ? u"\n"_s : QString()) + QString(length, u'x');
            pieces.push_back({start, source.size() - start});
            source += u'\r';
        }
        if (pick(1) == 0) // a last piece without a CR
            source += u"tail"_s, pieces.push_back({source.size() - 4, 4});
        std::vector<TextRange> entries;
        for (const TextRange& piece : pieces)
            if (round % 3 == 0 || pick(2) == 0)
                entries.push_back(piece);
        if (round % 4 == 3 && !entries.empty()) // the last entry only a part of its piece
            entries.back().length = std::max<qsizetype>(0, entries.back().length - 1);
        const ResultList list = Listed(source, ResultList::Form::Pieces, entries);
        const QString spelled = Spelled(source, ResultList::Form::Pieces, entries);
        ASSERT_EQ(list.EntryCount(), static_cast<qsizetype>(entries.size()));
        for (std::size_t i = 0; i < entries.size(); ++i) {
            ASSERT_EQ(list.Entry(static_cast<qsizetype>(i)), entries[i]) << "entry " << i;
            const bool withCR = entries[i].End() < source.size();
            EXPECT_EQ(list.Mark(static_cast<qsizetype>(i)),
                      (TextRange{entries[i].start, entries[i].length + (withCR ? 1 : 0)}));
        }
        for (qsizetype position = 0; position <= source.size(); position += 1 + pick(40)) {
            const auto from = std::find_if(entries.begin(), entries.end(),
                                           [&](TextRange e) { return e.start >= position; });
            EXPECT_EQ(list.FirstEntryFrom(position), from - entries.begin()) << position;
            const auto marked = std::find_if(entries.begin(), entries.end(), [&](TextRange e) {
                return e.End() + (e.End() < source.size() ? 1 : 0) > position;
            });
            EXPECT_EQ(list.FirstMarkEndingAfter(position), marked - entries.begin()) << position;
        }
        ASSERT_EQ(list.Mid(0, list.Length()), spelled);
        for (qsizetype from = 0; from < spelled.size(); from += 1 + pick(5000))
            EXPECT_EQ(list.Mid(from, from + 50), spelled.mid(from, 50)) << from;
        ExpectLinesOfTheSpelledText(list, spelled);
    }
}
