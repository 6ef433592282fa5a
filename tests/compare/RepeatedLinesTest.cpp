#include "compare/RepeatedLines.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using Counts = compare::RepeatedLines::Counts;

std::optional<Counts> CountsOf(const compare::RepeatedLines& repeats, std::u16string_view text,
                               std::u16string_view line) {
    return repeats.Find(line, text);
}

// A text of `count` lines drawn from `kinds` contents, each ended by CR LF or a lone CR.
std::u16string RandomText(std::mt19937& random, int count, int kinds) {
    std::uniform_int_distribution<int> kind(0, kinds - 1), ending(0, 1);
    std::u16string text;
    for (int i = 0; i < count; ++i) {
        for (const char c : std::to_string(kind(random)))
            text += static_cast<char16_t>(c);
        text += ending(random) == 0 ? u"\r\n" : u"\r";
    }
    return text;
}

// How often each line stands, as the comparison sees lines: cut at CR, a leading LF dropped.
std::map<std::u16string, std::uint32_t> PlainCounts(std::u16string_view text) {
    std::map<std::u16string, std::uint32_t> counts;
    std::size_t start = 0;
    for (std::size_t cr = text.find(u'\r'); cr != std::u16string_view::npos;
         start = cr + 1, cr = text.find(u'\r', start)) {
        std::u16string_view line = text.substr(start, cr - start);
        if (!line.empty() && line.front() == u'\n')
            line.remove_prefix(1);
        ++counts[std::u16string(line)];
    }
    return counts;
}

void ExpectCountsLikeThePlainModel(const compare::RepeatedLines& repeats, std::u16string_view own,
                                   std::u16string_view other) {
    const auto here = PlainCounts(own);
    const auto there = PlainCounts(other);
    for (const auto& [line, hereCount] : here) {
        const auto found = there.find(line);
        const std::uint32_t thereCount = found == there.end() ? 0 : found->second;
        const auto counts = CountsOf(repeats, own, line);
        SCOPED_TRACE(std::string(line.begin(), line.end()));
        ASSERT_EQ(counts.has_value(), hereCount > 1 || thereCount > 1);
        if (counts) {
            EXPECT_EQ(counts->here, hereCount);
            EXPECT_EQ(counts->there, thereCount);
        }
    }
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

// Texts long enough for the lookups to run well ahead of the line they are for, with few and
// with many repeats, counted against a plain count of every line.
TEST(RepeatedLinesTest, CountsAsAPlainCountOfEveryLine) {
    std::mt19937 random(7);
    for (const int kinds : {3, 40, 900, 5000}) {
        SCOPED_TRACE(kinds);
        const std::u16string one = RandomText(random, 2000, kinds);
        const std::u16string two = RandomText(random, 1500, kinds);
        const compare::LineIndex first(one), second(two);
        const auto [ofFirst, ofSecond] = compare::RepeatedLines::OfBoth(first, second);
        ExpectCountsLikeThePlainModel(ofFirst, one, two);
        ExpectCountsLikeThePlainModel(ofSecond, two, one);
    }
}
