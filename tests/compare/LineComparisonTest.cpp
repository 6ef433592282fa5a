#include "MissingPieces.h"
#include "PlainComparisons.h"
#include "compare/ContentHash.h"
#include "compare/LineSet.h"
#include "compare/PieceCutter.h"

#include <gtest/gtest.h>

#include <random>

using compare::Piece;

namespace {

std::vector<std::u16string> MissingTexts(std::u16string_view own, std::u16string_view other) {
    std::vector<std::u16string> texts;
    for (Piece p : MissingPieces(own, other))
        texts.emplace_back(own.substr(p.start, p.length));
    return texts;
}

} // namespace

TEST(LineIndexTest, MembershipIgnoresOneLeadingLF) {
    compare::LineIndex set(u"a\r\nb\r\n\r\nc");
    EXPECT_TRUE(set.Contains(u"a"));
    EXPECT_TRUE(set.Contains(u"b"));
    EXPECT_TRUE(set.Contains(u""));
    EXPECT_TRUE(set.Contains(u"c"));
    EXPECT_FALSE(set.Contains(u"\nb"));
    EXPECT_FALSE(set.Contains(u"B"));
    EXPECT_EQ(set.DistinctCount(), 4u);
}

TEST(LineComparisonTest, WorkedExampleFindsNothingOnceLeadingLFIsIgnored) {
    const std::u16string_view one = u"a\r\nb\r\nc\r";
    const std::u16string_view two = u"b\r\na\r\nc\r\n\r";
    EXPECT_TRUE(MissingTexts(one, two).empty());
    EXPECT_TRUE(MissingTexts(two, one).empty());
}

// The indexed comparison against the plain definition, on texts full of repeats, empty lines,
// lone CRs and LFs, where a slip in cutting, hashing or probing would show.
TEST(LineComparisonTest, AgreesWithAPairwiseComparison) {
    std::mt19937 random(11);
    const std::u16string_view alphabet = u"ab\r\n";
    for (int round = 0; round < 300; ++round) {
        std::u16string texts[2];
        for (std::u16string& text : texts)
            for (int i = static_cast<int>(random() % 60); i > 0; --i)
                text.push_back(alphabet[random() % alphabet.size()]);
        std::vector<std::size_t> found;
        for (const Piece piece : MissingPieces(texts[0], texts[1]))
            found.push_back(piece.start);
        ASSERT_EQ(found, plain::MissingPieces(texts[0], texts[1])) << "round " << round;
    }
}

TEST(LineIndexTest, CostsAtMostSixteenBytesAPiece) {
    const auto repeated = [](std::u16string_view line, int times) {
        std::u16string text;
        for (int i = 0; i < times; ++i)
            text.append(line).append(u"\r\n");
        return text + u"\r";
    };
    std::u16string distinct;
    for (int i = 0; i < 50000; ++i) {
        const std::string number = std::to_string(i);
        distinct.append(number.begin(), number.end()).append(u"\r\n");
    }
    for (const std::u16string& text : {repeated(u"", 100000), repeated(u"same", 70000), distinct,
                                       std::u16string(90000, u'\r')}) {
        const compare::LineIndex index(text);
        EXPECT_LE(index.MemoryBytes(), 16 * index.PieceCount()) << index.PieceCount() << " pieces";
    }
    EXPECT_EQ(compare::LineIndex(distinct).DistinctCount(), 50001u) << "and the empty last piece";
}

namespace {

std::uint32_t HashOf(std::u16string_view content) {
    return compare::ContentHash(content);
}

} // namespace

TEST(LineSetTest, KeepsEachContentOnceWithItsMark) {
    compare::LineSet set;
    using namespace std::string_view_literals;
    const std::u16string_view contents[] = {
        u""sv, u"a"sv, u"\u00e9t\u00e9"sv, u"\u20ac"sv, u"a\u0100"sv, u"\u0000"sv, u"a\u0001"sv};
    for (int round = 0; round < 3; ++round)
        for (const std::u16string_view content : contents)
            set.Add(content, HashOf(content));
    EXPECT_EQ(set.Count(), std::size(contents));
    for (const std::u16string_view content : contents)
        ASSERT_NE(set.Find(content, HashOf(content)), compare::LineSet::kNone);
    // Units that fit a byte and units that do not are never confused.
    EXPECT_EQ(set.Find(u"\u0161", HashOf(u"\u0161")), compare::LineSet::kNone);
    EXPECT_EQ(set.Find(u"A", HashOf(u"A")), compare::LineSet::kNone);
    EXPECT_EQ(set.Find(u"a", HashOf(u"b")), compare::LineSet::kNone) << "the hash is part of it";
    const std::size_t euro = set.Find(u"\u20ac", HashOf(u"\u20ac"));
    EXPECT_FALSE(set.Marked(euro));
    set.Mark(euro);
    EXPECT_TRUE(set.Marked(euro));
    EXPECT_EQ(set.Find(u"\u20ac", HashOf(u"\u20ac")), euro) << "a mark changes nothing else";
    EXPECT_FALSE(set.Marked(set.Find(u"a", HashOf(u"a"))));
}

TEST(LineSetTest, GrowsWithDistinctLinesOnly) {
    compare::LineSet repeated;
    for (int i = 0; i < 200000; ++i)
        repeated.Add(u"", HashOf(u""));
    EXPECT_LT(repeated.MemoryBytes(), 64u * 1024u);
    compare::LineSet distinct;
    for (int i = 0; i < 200000; ++i) {
        const std::string number = std::to_string(i);
        const std::u16string line(number.begin(), number.end());
        distinct.Add(line, HashOf(line));
    }
    EXPECT_EQ(distinct.Count(), 200000u);
    EXPECT_LT(distinct.MemoryBytes(), 200000u * 32u) << "about a byte a unit, and the table";
}

// Pieces cut from a text in chunks, however the chunks fall, are the pieces of the whole text.
TEST(PieceCutterTest, ChunksGiveThePiecesOfTheWhole) {
    std::mt19937 random(23);
    const std::u16string_view alphabet = u"ab\r\n";
    for (int round = 0; round < 2000; ++round) {
        std::u16string text;
        for (int i = static_cast<int>(random() % 40); i > 0; --i)
            text.push_back(alphabet[random() % alphabet.size()]);
        const compare::LineIndex index(text);
        std::vector<std::pair<std::u16string, std::size_t>> expected, cut;
        for (std::size_t piece = 0; piece < index.PieceCount(); ++piece) {
            const compare::Piece place = index.PieceAt(piece);
            expected.emplace_back(text.substr(place.start, place.length), place.start);
        }
        compare::PieceCutter cutter;
        const auto take = [&](std::u16string_view piece, compare::Piece place, bool endsWithCR) {
            cut.emplace_back(piece, place.start);
            EXPECT_EQ(place.length, piece.size());
            EXPECT_EQ(endsWithCR, place.start + place.length < text.size());
        };
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t size = std::min<std::size_t>(1 + random() % 6, text.size() - at);
            cutter.Add(std::u16string_view(text).substr(at, size), take);
            at += size;
        }
        cutter.End(take);
        ASSERT_EQ(cut, expected) << "round " << round;
    }
}

TEST(LineIndexTest, FindsTheFirstPieceOfAContentAndThePieceAtAPlace) {
    const compare::LineIndex index(u"a\r\nb\r\na\r\r\nb");
    EXPECT_EQ(index.FirstPieceWith(u"a"), std::optional<std::size_t>(0));
    EXPECT_EQ(index.FirstPieceWith(u"b"), std::optional<std::size_t>(1)) << "\\nb counts as b";
    EXPECT_EQ(index.FirstPieceWith(u""), std::optional<std::size_t>(3));
    EXPECT_FALSE(index.FirstPieceWith(u"c").has_value());
    EXPECT_EQ(index.PieceStartingAt(0), 0u);
    EXPECT_EQ(index.PieceStartingAt(2), 1u);
    EXPECT_EQ(index.PieceStartingAt(3), 2u);
    EXPECT_EQ(index.PieceStartingAt(8), 3u);
}
