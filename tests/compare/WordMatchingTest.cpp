#include "compare/WordMatching.h"
#include "compare/LinesAtCRLF.h"

#include <gtest/gtest.h>

#include <vector>

using namespace compare;

namespace {

using Views = std::vector<std::u16string_view>;

Views LinesOf(std::u16string_view text) {
    Views lines;
    ForEachLineAtCRLF(text, [&](std::size_t start, std::u16string_view line) {
        EXPECT_EQ(text.substr(start, line.size()), line);
        lines.push_back(line);
    });
    return lines;
}

Views WordsOf(std::u16string_view text) {
    Views words;
    CutAtBlanks(text, words);
    return words;
}

} // namespace

TEST(WordCutTest, LinesEndOnlyAtTheCRLFPair) {
    EXPECT_EQ(LinesOf(u""), Views{});
    EXPECT_EQ(LinesOf(u"one"), (Views{u"one"}));
    EXPECT_EQ(LinesOf(u"a\r\nb"), (Views{u"a", u"b"}));
    EXPECT_EQ(LinesOf(u"a\r\n"), (Views{u"a", u""}));
    EXPECT_EQ(LinesOf(u"\r\n"), (Views{u"", u""}));
    EXPECT_EQ(LinesOf(u"a\r\n\r\nb"), (Views{u"a", u"", u"b"}));
    EXPECT_EQ(LinesOf(u"a\rb\nc"), (Views{u"a\rb\nc"}));
    EXPECT_EQ(LinesOf(u"x\r\r\n\ny"), (Views{u"x\r", u"\ny"}));
}

TEST(WordCutTest, WordsEndAtEverySingleBlank) {
    EXPECT_EQ(WordsOf(u""), Views{});
    EXPECT_EQ(WordsOf(u"a\tb,"), (Views{u"a\tb,"}));
    EXPECT_EQ(WordsOf(u"a  b"), (Views{u"a", u"", u"b"}));
    EXPECT_EQ(WordsOf(u" a "), (Views{u"", u"a", u""}));
    EXPECT_EQ(WordsOf(u" "), (Views{u"", u""}));
    EXPECT_EQ(CountWordsAtBlank(u""), 0u);
    EXPECT_EQ(CountWordsAtBlank(u" a  "), 4u);
}

TEST(WordWindowTest, HalfwayValuesGoToTheEvenNeighbour) {
    const std::vector<std::size_t> expected{1, 2, 2, 2, 3, 4, 4, 4, 5, 6, 6, 6};
    for (std::size_t n = 1; n <= expected.size(); ++n)
        EXPECT_EQ(WindowSize(n), expected[n - 1]) << "n = " << n;
    EXPECT_EQ(WindowSize(0), 0u);
    // Beyond the precision of a double: (2^60 + 3) / 2 is halfway between an odd and an even.
    const std::size_t big = (std::size_t{1} << 60) + 2;
    EXPECT_EQ(WindowSize(big), (std::size_t{1} << 59) + 2);
    EXPECT_EQ(WindowSize(SIZE_MAX), SIZE_MAX / 2 + 1);
}
