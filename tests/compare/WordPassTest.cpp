#include "compare/WordPass.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Marks = std::vector<std::pair<std::size_t, std::size_t>>;

Marks UnmatchedOf(std::u16string_view own, std::u16string_view other) {
    Marks marks;
    const bool finished = compare::ForEachUnmatchedWord(
        own, other,
        [&](std::size_t start, std::size_t length) { marks.emplace_back(start, length); },
        [](std::size_t) { return true; });
    EXPECT_TRUE(finished);
    return marks;
}

} // namespace

// Texts as a load leaves them: every line break CR LF, one CR appended.
TEST(WordPassTest, TheAppendedCRBelongsToNoWord) {
    struct Row {
        const char* what;
        std::u16string_view own, other;
        Marks marks;
    };
    const std::vector<Row> rows{
        {"own without a final break", u"a b\r\nf\r", u"a b\r\nf\r\n\r", {}},
        {"own with a final break", u"a b\r\nf\r\n\r", u"a b\r\nf\r", {}},
        {"both with", u"a b\r\nf\r\n\r", u"a b\r\nf\r\n\r", {}},
        {"both without", u"a b\r\nf\r", u"a b\r\nf\r", {}},
        {"a real difference stays", u"a b\r\nf g\r", u"a b\r\nf\r\n\r", {{7, 1}}},
        {"only one CR goes", u"a\r\r", u"a\r", {{0, 2}}},
        {"a CR LF at the end is a line break", u"a\r\n", u"a\r\nb\r", {}},
        {"an empty text", u"", u"a\r", {}},
        {"a text of one CR has no lines", u"\r", u"x\r", {}},
        {"against a text of one CR every word counts", u"x y\r", u"\r", {{0, 1}, {2, 1}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(UnmatchedOf(row.own, row.other), row.marks);
    }
}

TEST(WordPassTest, StopsWhenAskedAndSaysSo) {
    std::u16string own;
    for (int i = 0; i < 3 * 4096; ++i)
        own += u"w\r\n";
    std::vector<std::size_t> asked;
    std::size_t found = 0;
    const bool finished = compare::ForEachUnmatchedWord(
        own, u"", [&](std::size_t, std::size_t) { ++found; },
        [&](std::size_t done) {
            asked.push_back(done);
            return asked.size() < 2;
        });
    EXPECT_FALSE(finished);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_LT(asked[0], asked[1]);
    EXPECT_LE(asked[1], own.size());
    EXPECT_LT(found, 3u * 4096u) << "nothing after the stop";
}

// What a far search's index can come to is never less than the words of the longest line.
TEST(MostWordsOnALineTest, CountsTheLongestLinesWordsOrMore) {
    const std::u16string many = u"x" + std::u16string(5000, u'a') + u" b c";
    const std::u16string blanks(6000, u' ');
    struct Case {
        std::u16string text;
        std::size_t least; // the words of its longest line
        std::size_t most;
    };
    const std::vector<Case> cases{
        {u"", 0, 0},
        {u"a b c", 3, 3},
        {u"a\r\nb c d e\r\nf", 4, 5},
        {u"a\rb c\nd", 2, 4},    // a lone CR or LF ends no line
        {many, 3, 3},            // a long line's blanks are counted
        {u"a\r\n" + many, 3, 3}, // also after other lines
        {blanks, 6001, 6001},    // every blank ends a word, empty ones too
    };
    for (const Case& c : cases) {
        const std::size_t found = compare::MostWordsOnALine(c.text);
        EXPECT_GE(found, c.least) << "text of " << c.text.size() << " units";
        EXPECT_LE(found, c.most) << "text of " << c.text.size() << " units";
    }
}
