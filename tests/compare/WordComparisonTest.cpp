#include "PlainComparisons.h"
#include "compare/WordPass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

using plain::Marks;
using plain::PlainPass;
using plain::Text;
using plain::WordMark;

// One direction collected as the window lists it: the marks, and the words each after CR LF.
struct WordPass {
    Marks marks;
    std::u16string list;
};

WordPass ComparePass(std::u16string_view own, std::u16string_view other) {
    WordPass pass;
    const bool finished = compare::ForEachUnmatchedWord(
        own, other,
        [&](std::size_t start, std::size_t length) {
            pass.marks.push_back({start, length});
            pass.list.append(u"\r\n").append(own.substr(start, length));
        },
        [](std::size_t) { return true; });
    EXPECT_TRUE(finished);
    return pass;
}

void ExpectPass(const WordPass& pass, const Marks& marks, std::u16string_view list) {
    EXPECT_EQ(pass.marks, marks);
    EXPECT_EQ(pass.list, list);
}

// "n0", "n1", ... up to `count` of them, each followed by `separator`.
std::u16string Numbered(int count, std::u16string_view separator) {
    std::u16string text;
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        text.append(1, u'n').append(number.begin(), number.end()).append(separator);
    }
    return text;
}

} // namespace

TEST(WordComparisonTest, LookAheadIsBoundedAndUsesUpSkippedWords) {
    struct Row {
        std::u16string_view line, partner;
        Marks marks;
        std::u16string_view list;
    };
    const std::vector<Row> rows{
        {u"the quick brown fox", u"the quick red fox", {{10, 5}}, u"\r\nbrown"},
        {u"the quick red fox", u"the quick brown fox", {{10, 3}}, u"\r\nred"},
        {u"a a b", u"a b", {{2, 1}}, u"\r\na"},
        {u"b a", u"a b", {{2, 1}}, u"\r\na"},
        {u"b b", u"a b", {{2, 1}}, u"\r\nb"},
        {u"b c d e f", u"a c b d e f", {{2, 1}}, u"\r\nc"},
        {u"x a b c d", u"a b c d x", {{0, 1}}, u"\r\nx"},
        {u"a b c d x", u"x a b c d", {{8, 1}}, u"\r\nx"},
        {u"The cat", u"the cat", {{0, 3}}, u"\r\nThe"},
        {u"a  b", u"a b", {{2, 0}}, u"\r\n"},
        {u"hello", u"x hello", {{0, 5}}, u"\r\nhello"},
        {u"one two one", u"\r\nx", {{0, 3}, {4, 3}, {8, 3}}, u"\r\none\r\ntwo\r\none"},
        {u"a\tb c.", u"a b c", {{0, 3}, {4, 2}}, u"\r\na\tb\r\nc."},
        {u" a", u"a", {{0, 0}}, u"\r\n"},
        {u"a ", u"a", {{2, 0}}, u"\r\n"},
        {u"a  b ", u"a  b ", {}, u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.line.begin(), row.line.end()));
        ExpectPass(ComparePass(row.line, row.partner), row.marks, row.list);
    }
}

TEST(WordComparisonTest, WorkedExampleInBothDirections) {
    const std::u16string_view one = u"one\r\ntwo three\r\nfour";
    const std::u16string_view two = u"one\r\ntwo 3\r\n";
    ExpectPass(ComparePass(one, two), {{9, 5}, {16, 4}}, u"\r\nthree\r\nfour");
    ExpectPass(ComparePass(two, one), {{9, 1}}, u"\r\n3");
}

TEST(WordComparisonTest, EqualLinesAndEqualTextsMarkNothing) {
    const std::u16string_view text = u"a b\r\n\r\n c  d \r\n";
    ExpectPass(ComparePass(text, text), {}, u"");
    ExpectPass(ComparePass(u"x\r\nsame line", u"y\r\nsame line"), {{0, 1}}, u"\r\nx");
}

TEST(WordComparisonTest, PartnerStaysOnTheLastLineReached) {
    // "y" meets "x y" with a window of one, so only "x" is looked at; "x" and "x y" match there.
    ExpectPass(ComparePass(u"a\r\nx\r\ny\r\nx y", u"a\r\nx y"), {{6, 1}}, u"\r\ny");
}

TEST(WordComparisonTest, EmptyLastLineIsNeverAPartner) {
    ExpectPass(ComparePass(u"a\r\nb\r\nb", u"a\r\nb\r\n"), {}, u"");
    // An empty line that is not the last is a partner like any other.
    ExpectPass(ComparePass(u"a\r\nb c\r\nd", u"a\r\n\r\nd"), {{3, 1}, {5, 1}}, u"\r\nb\r\nc");
}

TEST(WordComparisonTest, TextsEndingInCRLF) {
    ExpectPass(ComparePass(u"a b\r\n", u"a b\r\n"), {}, u"");
    ExpectPass(ComparePass(u"a b\r\nc\r\n", u"a b\r\n"), {{5, 1}}, u"\r\nc");
    ExpectPass(ComparePass(u"a b\r\n", u"a b\r\nc\r\n"), {}, u"");
}

TEST(WordComparisonTest, EmptySides) {
    ExpectPass(ComparePass(u"one two\r\n\r\n three", u""), {{0, 3}, {4, 3}, {11, 0}, {12, 5}},
               u"\r\none\r\ntwo\r\n\r\nthree");
    ExpectPass(ComparePass(u"", u"one two"), {}, u"");
    ExpectPass(ComparePass(u"", u""), {}, u"");
}

TEST(WordComparisonTest, LoneCRAndLFStayInsideWords) {
    ExpectPass(ComparePass(u"a\rb c\nd", u"a b c d"), {{0, 3}, {4, 3}}, u"\r\na\rb\r\nc\nd");
    ExpectPass(ComparePass(u"a\rb c\nd", u"a\rb c\nd"), {}, u"");
}

TEST(WordComparisonTest, TextsBeyond32767UnitsAreComparedCompletely) {
    // Many lines: only the last one differs, far past offset 32767.
    const std::u16string lines = Numbered(12000, u"\r\n");
    ASSERT_GT(lines.size(), 65536u);
    ExpectPass(ComparePass(lines + u"tail", lines + u"TAIL"), {{lines.size(), 4}}, u"\r\ntail");

    // One long line: its last word stands past offset 32767 within the line.
    const std::u16string words = Numbered(8000, u" ");
    ASSERT_GT(words.size(), 32767u);
    ExpectPass(ComparePass(words + u"end", words + u"enD"), {{words.size(), 3}}, u"\r\nend");
}

namespace {

// Lines of a few words from a small vocabulary, whose words share lengths and first and last
// units, so that a quick comparison that only looks at those is caught out.
std::u16string RandomText(std::mt19937& random) {
    const std::vector<Text> vocabulary{u"", u"a", u"b", u"ab", u"abc", u"adc", u"abcd", u"b\rc"};
    std::uniform_int_distribution<std::size_t> lines(0, 6), words(0, 7),
        pick(0, vocabulary.size() - 1);
    std::u16string text;
    for (std::size_t line = 0, count = lines(random); line < count; ++line) {
        if (line > 0)
            text += u"\r\n";
        for (std::size_t word = 0, n = words(random); word < n; ++word)
            text.append(word > 0 ? u" " : u"").append(vocabulary[pick(random)]);
    }
    if (random() % 3 == 0)
        text += u"\r\n";
    if (random() % 3 == 0)
        text += u"\r"; // as a load appends it
    return text;
}

} // namespace

TEST(WordComparisonTest, AgreesWithThePlainlyWrittenRules) {
    std::mt19937 random(3);
    for (int round = 0; round < 4000; ++round) {
        const std::u16string own = RandomText(random);
        const std::u16string other = RandomText(random);
        const WordPass pass = ComparePass(own, other);
        ASSERT_EQ(pass.marks, PlainPass(own, other)) << "round " << round;
        std::u16string list;
        for (const WordMark& mark : pass.marks)
            list.append(u"\r\n").append(own.substr(mark.start, mark.length));
        ASSERT_EQ(pass.list, list) << "round " << round;
    }
}

namespace {

// A few lines of tens to hundreds of words from a tiny vocabulary: windows far beyond the words a
// search looks at directly, matches near and far, and words the partner line lacks altogether.
std::u16string RandomLongLines(std::mt19937& random, Text vocabulary) {
    std::uniform_int_distribution<std::size_t> lines(1, 3), words(0, 400), pick(0, 5);
    std::u16string text;
    for (std::size_t line = 0, count = lines(random); line < count; ++line) {
        if (line > 0)
            text += u"\r\n";
        for (std::size_t word = 0, n = words(random); word < n; ++word) {
            if (word > 0)
                text += u' ';
            const std::size_t chosen = pick(random);
            if (chosen < vocabulary.size())
                text += vocabulary[chosen];
        }
    }
    return text;
}

} // namespace

TEST(WordComparisonTest, LongLinesAgreeWithThePlainlyWrittenRules) {
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        // The two sides share only some of their words, so that many searches run the full window.
        const std::u16string own = RandomLongLines(random, u"abcx");
        const std::u16string other = RandomLongLines(random, round % 2 ? u"abcy" : u"yyyb");
        ASSERT_EQ(ComparePass(own, other).marks, PlainPass(own, other)) << "round " << round;
    }
}

TEST(WordComparisonTest, APartnerLineSharedByManyLinesIsSearchedAfreshForEach) {
    // Every line of the first text meets the second text's one line; a far match in one line
    // must not use up words for the next.
    std::u16string partner;
    for (int i = 0; i < 200; ++i)
        partner += u"p ";
    partner += u"x";
    std::u16string own;
    for (int i = 0; i < 3; ++i)
        own += (i > 0 ? u"\r\n" : u"") + partner;
    EXPECT_EQ(ComparePass(own, partner).marks, PlainPass(own, partner));
    EXPECT_TRUE(ComparePass(own, partner).marks.empty());
}

TEST(WordComparisonTest, LinesOfMoreWordsThanAreKeptAtOnce) {
    // Past the blanks a cut keeps and the partner words a search keeps behind it: a few words
    // changed, inserted or dropped in a line of 70,000.
    std::u16string own, other;
    for (int i = 0; i < 70000; ++i) {
        const std::string number = std::to_string(i % 2000);
        const std::u16string word(number.begin(), number.end());
        own += (i > 0 ? u" " : u"") + word;
        if (i % 20000 == 7)
            other += u"inserted ";
        if (i % 25000 != 11)
            other += (i % 15000 == 3 ? u"changed" : word) + u" ";
    }
    other.pop_back();
    EXPECT_EQ(ComparePass(own, other).marks, PlainPass(own, other));
    EXPECT_EQ(ComparePass(other, own).marks, PlainPass(other, own));
}

namespace {

// A text handed over in chunks of random sizes, as a file is decoded.
class Chunks {
public:
    Chunks(Text text, std::mt19937& random) : text_(text), random_(random) {}
    Text operator()() {
        const std::size_t size = std::min<std::size_t>(1 + random_() % 7, text_.size() - at_);
        const Text chunk = text_.substr(at_, size);
        at_ += size;
        return chunk;
    }

private:
    Text text_;
    std::mt19937& random_;
    std::size_t at_ = 0;
};

Marks StreamedPass(Text own, Text other, std::mt19937& random) {
    Marks marks;
    Chunks ownChunks(own, random);
    Chunks otherChunks(other, random);
    compare::ForEachUnmatchedWordStreamed(ownChunks, otherChunks,
                                          [&](std::size_t start, Text word) {
                                              EXPECT_EQ(own.substr(start, word.size()), word);
                                              marks.push_back({start, word.size()});
                                          });
    return marks;
}

} // namespace

// Lines, CR LF pairs and the final CR split between chunks anywhere give the same words.
TEST(WordComparisonTest, TextsInChunksGiveWhatWholeTextsGive) {
    std::mt19937 random(17);
    for (int round = 0; round < 3000; ++round) {
        const bool longLines = round % 10 == 0;
        const std::u16string own =
            longLines ? RandomLongLines(random, u"abcx") : RandomText(random);
        const std::u16string other =
            longLines ? RandomLongLines(random, u"abcy") : RandomText(random);
        ASSERT_EQ(StreamedPass(own, other, random), ComparePass(own, other).marks)
            << "round " << round;
    }
    for (const Text text : {u"", u"\r", u"\r\n", u"\r\n\r", u"a\r\r", u"\r\r\n", u"a\rb\r\nc"}) {
        for (const Text other : {u"", u"\r", u"a\r\n\r", u"\r\n\r\n"}) {
            ASSERT_EQ(StreamedPass(text, other, random), ComparePass(text, other).marks);
            ASSERT_EQ(StreamedPass(other, text, random), ComparePass(other, text).marks);
        }
    }
}

TEST(WordWindowTest, HalfwayValuesGoToTheEvenNeighbour) {
    const std::vector<std::size_t> expected{1, 2, 2, 2, 3, 4, 4, 4, 5, 6, 6, 6};
    for (std::size_t n = 1; n <= expected.size(); ++n)
        EXPECT_EQ(compare::WindowSize(n), expected[n - 1]) << "n = " << n;
    EXPECT_EQ(compare::WindowSize(0), 0u);
    // Beyond the precision of a double: (2^60 + 3) / 2 is halfway between an odd and an even.
    const std::size_t big = (std::size_t{1} << 60) + 2;
    EXPECT_EQ(compare::WindowSize(big), (std::size_t{1} << 59) + 2);
    EXPECT_EQ(compare::WindowSize(SIZE_MAX), SIZE_MAX / 2 + 1);
}
