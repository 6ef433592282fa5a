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
