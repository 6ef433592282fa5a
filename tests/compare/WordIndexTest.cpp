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

namespace {

// The cutting rules applied one unit at a time, to hold the block-wise cut against.
struct CutByUnits {
    std::vector<std::size_t> lineEnds;
    std::vector<std::size_t> wordStarts;

    explicit CutByUnits(std::u16string_view text) {
        std::size_t lineStart = 0;
        std::size_t wordStart = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            const bool lineEnd = i == text.size() ||
                                 (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n');
            if (text.empty())
                break;
            if (lineEnd) {
                if (i > lineStart)
                    wordStarts.push_back(wordStart);
                lineEnds.push_back(i);
                lineStart = wordStart = i + 2;
                ++i;
            } else if (text[i] == u' ') {
                wordStarts.push_back(wordStart);
                wordStart = i + 1;
            }
        }
    }
};

} // namespace

TEST(WordCutTest, SeparatorsOnEitherSideOfABlockBoundaryAreAllFound) {
    // Texts of a few blocks' length, dense with separators, so that CR LF pairs and blanks fall
    // on and across the boundaries where the cut reads the next sixteen units.
    std::mt19937 random(11);
    std::uniform_int_distribution<int> length(0, 70);
    std::uniform_int_distribution<std::size_t> pick(0, 4);
    const std::u16string_view alphabet = u"ab \r\n";
    for (int round = 0; round < 3000; ++round) {
        std::u16string text(static_cast<std::size_t>(length(random)), u'a');
        for (char16_t& unit : text)
            unit = alphabet[pick(random)];
        const WordIndex index(text);
        const CutByUnits expected(text);
        std::vector<std::size_t> lineEnds, wordStarts;
        for (std::size_t line = 0; line < index.LineCount(); ++line)
            lineEnds.push_back(index.LineStart(line) + index.Line(line).size());
        for (std::size_t word = 0; word < index.FirstWord(index.LineCount()); ++word)
            wordStarts.push_back(index.WordStart(word));
        ASSERT_EQ(lineEnds, expected.lineEnds) << "text of " << text.size() << " units";
        ASSERT_EQ(wordStarts, expected.wordStarts) << "text of " << text.size() << " units";
    }
}
