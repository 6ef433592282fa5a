#include "compare/LineWords.h"
#include "PlainComparisons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace compare;

namespace {

using Views = std::vector<std::u16string_view>;

// Every line of a text, and every word of each, as the block-wise helpers cut them.
struct Cut {
    Views lines;
    std::vector<std::size_t> lineEnds;
    std::vector<std::size_t> wordStarts;
    Views words;

    explicit Cut(std::u16string_view text) {
        LineCut cut;
        for (std::size_t start = 0; !text.empty();) {
            const LineExtent line = cut.Cut(text, start);
            lines.push_back(text.substr(start, line.end - start));
            lineEnds.push_back(line.end);
            std::size_t counted = 0;
            cut.ForEachWord([&](std::size_t from, std::size_t to) {
                wordStarts.push_back(from);
                words.push_back(text.substr(from, to - from));
                ++counted;
                return true;
            });
            EXPECT_EQ(counted, line.words);
            if (line.words > 0) { // the walk that long lines take gives the same words
                std::vector<std::size_t> again;
                ForEachWordIn(text, start, line.end, [&](std::size_t from, std::size_t) {
                    again.push_back(from);
                    return true;
                });
                EXPECT_TRUE(std::equal(again.begin(), again.end(), wordStarts.end() - counted));
            }
            if (!line.hasNext)
                break;
            start = line.end + 2;
        }
    }
};

} // namespace

TEST(LineWordsTest, LinesEndOnlyAtTheCRLFPair) {
    EXPECT_EQ(Cut(u"").lines, Views{});
    EXPECT_EQ(Cut(u"one").lines, (Views{u"one"}));
    EXPECT_EQ(Cut(u"a\r\nb").lines, (Views{u"a", u"b"}));
    EXPECT_EQ(Cut(u"a\r\n").lines, (Views{u"a", u""}));
    EXPECT_EQ(Cut(u"\r\n").lines, (Views{u"", u""}));
    EXPECT_EQ(Cut(u"a\r\n\r\nb").lines, (Views{u"a", u"", u"b"}));
    EXPECT_EQ(Cut(u"a\rb\nc").lines, (Views{u"a\rb\nc"}));
    EXPECT_EQ(Cut(u"x\r\r\n\ny").lines, (Views{u"x\r", u"\ny"}));
}

TEST(LineWordsTest, WordsEndAtEverySingleBlank) {
    EXPECT_EQ(Cut(u"").words, Views{});
    EXPECT_EQ(Cut(u"a\tb,").words, (Views{u"a\tb,"}));
    EXPECT_EQ(Cut(u"a  b").words, (Views{u"a", u"", u"b"}));
    EXPECT_EQ(Cut(u" a ").words, (Views{u"", u"a", u""}));
    EXPECT_EQ(Cut(u" ").words, (Views{u"", u""}));
    EXPECT_EQ(Cut(u"a\rb c\n").words.size(), 2u) << "a lone CR or LF is part of a word";
    EXPECT_EQ(Cut(u"a\r\n\r\nb c").words, (Views{u"a", u"b", u"c"})) << "an empty line has none";
}

TEST(LineWordsTest, AWordCallbackCanStopTheWalk) {
    const std::u16string_view text = u"a b c d";
    Views seen;
    EXPECT_FALSE(ForEachWordIn(text, 0, text.size(), [&](std::size_t from, std::size_t to) {
        seen.push_back(text.substr(from, to - from));
        return seen.size() < 2;
    }));
    EXPECT_EQ(seen, (Views{u"a", u"b"}));
}

TEST(LineWordsTest, SeparatorsOnEitherSideOfABlockBoundaryAreAllFound) {
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
        const plain::CutByUnits expected(text);
        const Cut cut(text);
        ASSERT_EQ(cut.lineEnds, expected.lineEnds) << "text of " << text.size() << " units";
        ASSERT_EQ(cut.wordStarts, expected.wordStarts) << "text of " << text.size() << " units";
    }
}
