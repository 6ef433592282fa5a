#include "compare/LineIndex.h"
#include "compare/LookalikeLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A red line that repeats has the look-alike of its first occurrence each time, however often it
// repeats on either side: thousands of repeats are keyed and searched for once, not once for each
// pair of them.
TEST(LookalikeRepeatsTest, RepeatedRedLinesShareTheirLookalike) {
    std::u16string first, second;
    for (int i = 0; i < 20000; ++i) {
        first += i % 2 == 0 ? u"Hello\r\n" : u"World \r\n";
        second += i % 2 == 0 ? u"hello\r\n" : u"world\r\n";
    }
    first += u"only here\r";
    second += u"\r";
    const compare::LineIndex firstLines(first), secondLines(second);
    const std::vector<compare::Piece> red1 = firstLines.MissingIn(secondLines);
    const std::vector<compare::Piece> red2 = secondLines.MissingIn(firstLines);
    const auto both = compare::FindLookalikeLinesOfBoth(firstLines, red1, secondLines, red2);
    ASSERT_EQ(both.ofFirst.size(), 20001u);
    ASSERT_EQ(both.ofSecond.size(), 20000u);
    for (std::size_t i = 0; i < 20000; ++i) {
        ASSERT_TRUE(both.ofFirst[i] && both.ofSecond[i]) << i;
        EXPECT_EQ(both.ofFirst[i]->line, i % 2 + 1) << i;
        EXPECT_EQ(both.ofSecond[i]->line, i % 2 + 1) << i;
        EXPECT_EQ(both.ofFirst[i]->kinds,
                  i % 2 == 0 ? compare::LookalikeKinds(compare::LookalikeKind::Case)
                             : compare::LookalikeKinds(compare::LookalikeKind::Case)
                                   .With(compare::LookalikeKind::TrailingSpace));
    }
    EXPECT_FALSE(both.ofFirst.back());
    EXPECT_EQ(compare::FindLookalikeLines(first, red1, secondLines), both.ofFirst);
}
