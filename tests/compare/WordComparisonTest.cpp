#include "compare/WordComparison.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace compare {
void PrintTo(const WordMark& mark, std::ostream* out) {
    *out << '{' << mark.start << ", " << mark.length << '}';
}
} // namespace compare

using compare::ComparePass;
using compare::WordMark;
using compare::WordPass;
using Marks = std::vector<WordMark>;

namespace {

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
