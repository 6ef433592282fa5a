#include "compare/LineComparison.h"

#include <gtest/gtest.h>

#include <random>

using compare::FindMissingPieces;
using compare::Piece;

namespace {

std::vector<std::u16string> MissingTexts(std::u16string_view own, std::u16string_view other) {
    std::vector<std::u16string> texts;
    for (Piece p : FindMissingPieces(own, other))
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
        std::vector<std::u16string> expected;
        std::vector<std::u16string_view> otherPieces;
        const auto cut = [](std::u16string_view text) {
            std::vector<std::u16string_view> pieces;
            for (std::size_t start = 0; !text.empty();) {
                const std::size_t cr = text.find(u'\r', start);
                pieces.push_back(text.substr(start, cr == text.npos ? text.npos : cr - start));
                if (cr == text.npos)
                    break;
                start = cr + 1;
            }
            return pieces;
        };
        for (std::u16string_view own : cut(texts[0])) {
            bool found = false;
            for (std::u16string_view other : cut(texts[1]))
                found = found || compare::LineContent(own) == compare::LineContent(other);
            if (!found)
                expected.emplace_back(own);
        }
        ASSERT_EQ(MissingTexts(texts[0], texts[1]), expected) << "round " << round;
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
