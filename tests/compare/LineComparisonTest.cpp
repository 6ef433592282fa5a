#include "compare/LineComparison.h"

#include <gtest/gtest.h>

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

TEST(LineSetTest, MembershipIgnoresOneLeadingLF) {
    compare::LineSet set(u"a\r\nb\r\n\r\nc");
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
