#include "compare/WordIndex.h"
#include "compare/WordComparison.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace compare;

namespace {

using Views = std::vector<std::u16string_view>;

Views LinesOf(std::u16string_view text) {
    const WordIndex index(text);
    Views lines;
    for (std::size_t line = 0; line < index.LineCount(); ++line)
        lines.push_back(index.Line(line));
    return lines;
}

// The words of a text that is one line.
Views WordsOf(std::u16string_view line) {
    const WordIndex index(line);
    Views words;
    for (std::size_t word = 0; index.LineCount() == 1 && word < index.WordCount(0); ++word) {
        EXPECT_EQ(line.substr(index.WordStart(word), index.Word(0, word).size()),
                  index.Word(0, word));
        words.push_back(index.Word(0, word));
    }
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
    EXPECT_EQ(WordsOf(u"a\rb c\n").size(), 2u) << "a lone CR or LF is part of a word";
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
