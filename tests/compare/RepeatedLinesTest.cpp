#include "compare/RepeatedLines.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Counts = compare::RepeatedLines::Counts;

std::optional<Counts> CountsOf(const compare::RepeatedLines& repeats, std::u16string_view text,
                               std::u16string_view line) {
    return repeats.Find(line, text);
}

} // namespace

// Lines are counted as the line comparison sees them: pieces cut at CR, the LF that CR LF leaves
// in front of a piece not counting.
TEST(RepeatedLinesTest, EachRepeatedLineIsCountedInBothTexts) {
    const std::u16string one = u"a\r\nb\r\na\r\nc\r\na\r\nd\r\nd\r";
    const std::u16string two = u"a\r\nb\r\nb\r\nb\r\nc\r";
    const compare::LineIndex first(one), second(two);
    const auto [ofFirst, ofSecond] = compare::RepeatedLines::OfBoth(first, second);
    const struct {
        std::u16string_view line;
        std::optional<Counts> inFirst, inSecond;
    } cases[] = {
        {u"a", Counts{3, 1}, Counts{1, 3}}, {u"b", Counts{1, 3}, Counts{3, 1}},
        {u"d", Counts{2, 0}, std::nullopt}, // a red line that repeats; the second has none
        {u"c", std::nullopt, std::nullopt}, // once in each: no repeat to tell
        {u"x", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.line.begin(), c.line.end()));
        const auto here = CountsOf(ofFirst, one, c.line);
        ASSERT_EQ(here.has_value(), c.inFirst.has_value());
        if (here) {
            EXPECT_TRUE(here->here == c.inFirst->here && here->there == c.inFirst->there)
                << here->here << " " << here->there;
        }
        const auto there = CountsOf(ofSecond, two, c.line);
        ASSERT_EQ(there.has_value(), c.inSecond.has_value());
        if (there) {
            EXPECT_TRUE(there->here == c.inSecond->here && there->there == c.inSecond->there);
        }
    }
}
