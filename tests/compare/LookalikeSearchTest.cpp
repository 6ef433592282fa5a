#include "MissingPieces.h"
#include "PlainLookalikes.h"
#include "compare/Lookalike.h"
#include "compare/LookalikeLines.h"
#include "compare/LookalikeWords.h"
#include "compare/LooseKey.h"
#include "compare/WordPass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

using compare::LineIndex;
using compare::LineLookalike;
using compare::LookalikeKind;
using compare::LookalikeKinds;
using compare::Piece;
using compare::WordLookalike;

namespace {

// For each red line of `own` (by the line comparison), the line number of its look-alike in
// `other` and the kinds, or 0.
std::vector<std::pair<std::size_t, LookalikeKinds>> LineLookalikes(std::u16string_view own,
                                                                   std::u16string_view other) {
    const LineIndex ownLines(own);
    const LineIndex otherLines(other);
    const std::vector<Piece> red = MissingPieces(own, other);
    std::vector<std::pair<std::size_t, LookalikeKinds>> found;
    for (const std::optional<LineLookalike>& lookalike :
         compare::FindLookalikeLines(own, red, otherLines))
        found.emplace_back(lookalike ? lookalike->line : 0,
                           lookalike ? lookalike->kinds : LookalikeKinds());
    return found;
}

constexpr LookalikeKinds kTrailing = LookalikeKind::TrailingSpace;
constexpr LookalikeKinds kCase = LookalikeKind::Case;
constexpr LookalikeKinds kNone;

} // namespace

TEST(LookalikeLinesTest, FindsTheLookalikeAnywhereInTheOtherText) {
    const std::u16string_view own = u"alpha\r\nBeta \r\ngamma\r\ndelta\r";
    const std::u16string_view other = u"delta\r\nbeta\r\nepsilon\r\nalpha\r";
    using Found = std::vector<std::pair<std::size_t, LookalikeKinds>>;
    // Red in `own`: "Beta " and "gamma"; "Beta " looks like line 2 of `other`.
    EXPECT_EQ(LineLookalikes(own, other),
              (Found{{2, LookalikeKinds(LookalikeKind::Case).With(LookalikeKind::TrailingSpace)},
                     {0, kNone}}));
    // Red in `other`: "beta" (like line 2 of `own`) and "epsilon".
    EXPECT_EQ(LineLookalikes(other, own),
              (Found{{2, LookalikeKinds(LookalikeKind::Case).With(LookalikeKind::TrailingSpace)},
                     {0, kNone}}));
}

TEST(LookalikeLinesTest, TakesTheFirstOfSeveralInTextOrder) {
    // Lines 2, 3 and 5 all look like "abc"; line 4 shares its loose key but is not a look-alike.
    const std::u16string_view other = u"x\r\nABC\r\nabc \r\na bc\r\n abc\r";
    const std::u16string_view own = u"abc\r";
    using Found = std::vector<std::pair<std::size_t, LookalikeKinds>>;
    EXPECT_EQ(LineLookalikes(own, other), (Found{{2, kCase}}));
    // Repeated lines and a line sharing the key that is not a look-alike come before the match.
    EXPECT_EQ(LineLookalikes(u"abc ", u"a bc\r\na bc\r\nzz\r\nabc\t\r\nabc\r"),
              (Found{{4, kTrailing}}));
}

TEST(LookalikeLinesTest, ReportsThePieceAndLineNumberInTheOtherText) {
    const std::u16string other = u"one\r\ntwo\r\nthree\r";
    const LineIndex otherLines(other);
    const std::u16string own = u"x\r\nTHREE\r";
    const std::vector<Piece> red{{0, 1}, {2, 6}}; // "x" and "\nTHREE": the LF is not content
    const auto found = compare::FindLookalikeLines(own, red, otherLines);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_FALSE(found[0].has_value());
    ASSERT_TRUE(found[1].has_value());
    EXPECT_EQ(found[1]->line, 3u);
    EXPECT_EQ(found[1]->piece.start, 9u);
    EXPECT_EQ(found[1]->piece.length, 6u); // "\nthree"
    EXPECT_EQ(found[1]->kinds, kCase);
}

TEST(LookalikeLinesTest, NothingToFind) {
    using Found = std::vector<std::pair<std::size_t, LookalikeKinds>>;
    EXPECT_EQ(LineLookalikes(u"abc\r", u""), (Found{{0, kNone}, {0, kNone}}));
    EXPECT_EQ(LineLookalikes(u"", u"abc\r"), Found{});
    EXPECT_EQ(LineLookalikes(u"cat\r\ndog\r", u"cut\r\ndig\r"), (Found{{0, kNone}, {0, kNone}}));
    // An empty line looks like a line of blanks, and not like a line of other text.
    EXPECT_EQ(LineLookalikes(u"\r\nx", u"x\r\n \t"), (Found{{2, kTrailing}}));
    EXPECT_EQ(LineLookalikes(u"\r\nx", u"x\r\n y"), (Found{{0, kNone}}));
}

TEST(LookalikeLinesTest, BothDirectionsAtOnceAgreeWithEachAlone) {
    std::u16string first, second;
    for (int i = 0; i < 300; ++i) {
        const std::u16string line = u"line " +
                                    std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) +
                                    std::u16string(static_cast<std::size_t>(i % 7), u'x');
        first += line + u"\r\n";
        second += (i % 3 == 0 ? line + u" " : i % 3 == 1 ? line : u"other " + line) + u"\r\n";
    }
    first += u"\r";
    second += u"\r";
    const LineIndex firstLines(first), secondLines(second);
    const std::vector<Piece> red1 = MissingPieces(first, second);
    const std::vector<Piece> red2 = MissingPieces(second, first);
    const auto both = compare::FindLookalikeLinesOfBoth(firstLines, red1, secondLines, red2);
    EXPECT_EQ(both.ofFirst, compare::FindLookalikeLines(first, red1, secondLines));
    EXPECT_EQ(both.ofSecond, compare::FindLookalikeLines(second, red2, firstLines));
    ASSERT_FALSE(red2.empty());
    EXPECT_TRUE(both.ofSecond.front().has_value());
}

namespace {

struct WordCase {
    std::u16string own;
    std::u16string other;
    std::vector<WordLookalike> expected;
};

// The look-alikes of the red words of `own`, as the window's tooltips find them one by one.
std::vector<WordLookalike> WordLookalikes(std::u16string_view own, std::u16string_view other) {
    std::vector<WordLookalike> found;
    compare::ForEachUnmatchedWord(
        own, other,
        [&](std::size_t start, std::size_t) {
            if (auto lookalike = compare::FindLookalikeWordAt(own, start, other))
                found.push_back(*lookalike);
        },
        [](std::size_t) { return true; });
    return found;
}

} // namespace

TEST(LookalikeWordsTest, LooksNearTheSamePositionOfThePartnerLine) {
    const LookalikeKinds kCaseKinds = LookalikeKind::Case;
    const LookalikeKinds kZeroWidth = LookalikeKind::ZeroWidth;
    const std::vector<WordCase> cases{
        // "Quick" is red; "quick" stands at the same index.
        {u"the Quick fox", u"the quick fox", {{4, 5, 4, 5, 1, kCaseKinds}}},
        // On the second line, against the second partner line.
        {u"a b\r\nx y\u200B z", u"a b\r\nx y z", {{7, 2, 7, 1, 2, kZeroWidth}}},
        // Nearest first: index 2 "QUICK" is nearer than index 0.
        {u"x y Quick", u"quick z QUICK", {{4, 5, 8, 5, 1, kCaseKinds}}},
        // Equally near: the earlier one.
        {u"a Bb c", u"bB x BB", {{2, 2, 0, 2, 1, kCaseKinds}}},
        // A line of one word looks one partner word either side, a line of three two.
        {u"Foo", u"x foo", {{0, 3, 2, 3, 1, kCaseKinds}}},
        {u"Foo", u"x y foo", {}},
        {u"a b Foo", u"foo x y z", {{4, 3, 0, 3, 1, kCaseKinds}}},
        {u"a b c d Foo", u"foo x y z", {}},
        // A real change is no look-alike.
        {u"the quick fox", u"the quack fox", {}},
        // No partner line at all.
        {u"Foo", u"", {}},
        // A partner word equal to the red word, too far back for the comparison, is passed over.
        {u"a Two", u"Two a two", {{2, 3, 6, 3, 1, kCaseKinds}}},
    };
    for (const WordCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases.data()));
        EXPECT_EQ(WordLookalikes(c.own, c.other), c.expected);
    }
}

TEST(LookalikeLinesTest, LinesLongerThanAnyoneReadsCloselyArePassedOver) {
    const std::u16string line(compare::kLongestLookalikeLine + 1, u'x');
    const std::u16string own = u"short \r\n" + line + u" \r";
    const std::u16string other = u"short\r\n" + line + u"\r";
    using Found = std::vector<std::pair<std::size_t, LookalikeKinds>>;
    EXPECT_EQ(LineLookalikes(own, other), (Found{{1, kTrailing}, {0, kNone}}))
        << "the short line is still found, past the long line of the other text";
}

namespace {

// A line of a few characters that fall into few loose-key classes ("1", "l", "I" and "," leave no
// trace; "0", "O" and "o" are one), so that thousands of different lines share a handful of keys.
std::u16string CrowdedLine(std::mt19937& random) {
    static constexpr char16_t kUnits[] = u"01lIO,o ";
    std::u16string line;
    for (auto length = random() % 7; length > 0; --length)
        line += kUnits[random() % (std::size(kUnits) - 1)];
    return line;
}

} // namespace

// Thousands of red lines share a few loose keys with thousands of lines of the other text, repeats
// among them: the search finds what the plain search finds, for both directions at once.
TEST(LookalikeLinesTest, CrowdedKeysAgreeWithThePlainSearch) {
    std::mt19937 random(11);
    for (int round = 0; round < 3; ++round) {
        std::u16string first, second;
        for (int i = 0; i < 1500; ++i) {
            first += CrowdedLine(random) + u"\r\n";
            second += CrowdedLine(random) + (i % 2 == 0 ? u"\r\n" : u"\r");
        }
        const LineIndex firstLines(first), secondLines(second);
        const std::vector<Piece> red1 = MissingPieces(first, second);
        const std::vector<Piece> red2 = MissingPieces(second, first);
        const auto both = compare::FindLookalikeLinesOfBoth(firstLines, red1, secondLines, red2);
        EXPECT_EQ(both.ofFirst, plain::LineLookalikes(first, second)) << "round " << round;
        EXPECT_EQ(both.ofSecond, plain::LineLookalikes(second, first)) << "round " << round;
        EXPECT_EQ(compare::FindLookalikeLines(first, red1, secondLines), both.ofFirst);
    }
}

// Numbered lines against the same lines with trailing blanks: every line is red on both sides and
// has its look-alike at the same number. Digits collide in the loose key ("1" and "l" are one,
// and so are "0" and "6", "3" and "7"), so that dozens of numbers share each key and come before
// the look-alike; none of them hides it.
TEST(LookalikeLinesTest, NoLookalikeIsCrowdedOutByLinesSharingItsKey) {
    constexpr std::size_t kLines = 10000;
    std::u16string first, second;
    for (std::size_t n = 1; n <= kLines; ++n) {
        const std::string number = std::to_string(n);
        first += std::u16string(number.begin(), number.end()) + u"\r\n";
        second +=
            std::u16string(number.begin(), number.end()) + (n % 2 == 0 ? u" " : u"\t ") + u"\r\n";
    }
    first += u"\r";
    second += u"\r";
    const LineIndex firstLines(first), secondLines(second);
    const std::vector<Piece> red1 = MissingPieces(first, second);
    const std::vector<Piece> red2 = MissingPieces(second, first);
    const auto both = compare::FindLookalikeLinesOfBoth(firstLines, red1, secondLines, red2);
    ASSERT_EQ(both.ofFirst.size(), kLines);
    ASSERT_EQ(both.ofSecond.size(), kLines);
    std::size_t unexplained = 0;
    for (std::size_t i = 0; i < kLines; ++i)
        for (const auto* found : {&both.ofFirst[i], &both.ofSecond[i]})
            if (!*found || (*found)->line != i + 1 || (*found)->kinds != kTrailing)
                ++unexplained;
    EXPECT_EQ(unexplained, 0u);
}
