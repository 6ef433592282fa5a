#include "compare/WordLookalikeWalk.h"
#include "compare/LookalikeWords.h"
#include "compare/WordPass.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

namespace {

// Lines of words that often look alike (case, a zero-width space, a composed and a decomposed
// letter, a tab at an end, the empty word), sometimes ending in CR LF or the CR a load appends.
std::u16string RandomPane(std::mt19937& random) {
    constexpr std::array<std::u16string_view, 10> kWords{
        u"abc", u"ABC", u"ab\u200Bc", u"caf\u00E9", u"cafe\u0301",
        u"x",   u"X",   u"abc\t",     u"\t",        u""};
    std::u16string text;
    for (std::size_t line = random() % 10; line > 0; --line) {
        for (std::size_t word = random() % 6; word > 0; --word)
            text.append(kWords[random() % kWords.size()]).append(word > 1 ? u" " : u"");
        text += u"\r\n";
    }
    if (random() % 2 == 0)
        text += u'\r';
    return text;
}

} // namespace

// Walking the pass once, each red word gets the look-alike that the window's tooltip search, which
// starts from the text's beginning for every word, finds for it.
TEST(WordLookalikeWalkTest, GivesWhatTheSearchOfEachWordGives) {
    std::mt19937 random(31);
    std::size_t found = 0;
    for (int round = 0; round < 400; ++round) {
        const std::u16string own = RandomPane(random);
        const std::u16string other = RandomPane(random);
        compare::WordLookalikeWalk walk(own, other);
        compare::ForEachUnmatchedWord(
            own, other,
            [&](std::size_t start, std::size_t) {
                const auto lookalike = walk.Next(start);
                ASSERT_EQ(lookalike, compare::FindLookalikeWordAt(own, start, other))
                    << "round " << round << ", word at " << start;
                found += lookalike.has_value();
            },
            [](std::size_t) { return true; });
    }
    EXPECT_GT(found, 200u); // the texts do hold look-alikes
}

// A word longer than kLongestLookalikeWord, red or near, has no look-alike; the words beside it,
// on a line of any length, still have theirs.
TEST(WordLookalikeWalkTest, PassesOverWordsTooLongToKey) {
    const std::u16string giant(compare::kLongestLookalikeWord + 1, u'w');
    const std::u16string giantUpper(compare::kLongestLookalikeWord + 1, u'W');
    const std::u16string own = u"A " + giantUpper + u" C\r\nB\r";
    const std::u16string other = u"a " + giant + u" c\r\nb\r";
    compare::WordLookalikeWalk walk(own, other);
    EXPECT_EQ(walk.Next(0), (compare::WordLookalike{0, 1, 0, 1, 1, compare::LookalikeKind::Case}));
    EXPECT_EQ(walk.Next(2), std::nullopt);
    const std::size_t c = own.find(u'C');
    EXPECT_EQ(walk.Next(c),
              (compare::WordLookalike{c, 1, other.find(u'c'), 1, 1, compare::LookalikeKind::Case}));
    const auto lookalike = walk.Next(own.find(u'B'));
    ASSERT_TRUE(lookalike.has_value());
    EXPECT_EQ(lookalike->otherStart, other.find(u'b'));
    EXPECT_EQ(lookalike->otherLine, 2u);
}

// On a line of many words a red word looks at the partner words no more than kNearestWords from
// its own place, where the word comparison itself would look at half the line.
TEST(WordLookalikeWalkTest, LooksNoFurtherThanTheNearestWords) {
    constexpr std::size_t kWords = 200;
    for (const std::size_t distance : {compare::kNearestWords, compare::kNearestWords + 1}) {
        std::u16string own, other;
        for (std::size_t i = 0; i < kWords; ++i) {
            own += (i == 100 ? u"Word" : u"x") + std::u16string(i + 1 < kWords ? u" " : u"");
            other += (i == 100 + distance ? u"word" : u"y") +
                     std::u16string(i + 1 < kWords ? u" " : u"");
        }
        const std::size_t red = own.find(u'W');
        const auto found = compare::FindLookalikeWordAt(own, red, other);
        EXPECT_EQ(found.has_value(), distance == compare::kNearestWords) << distance;
        EXPECT_EQ(compare::WordLookalikeWalk(own, other).Next(red), found);
    }
}
