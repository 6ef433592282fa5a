// The rules on small pairs of texts: each kind alone, several together, masks, ignore-matching,
// and a visible difference that no rule hides.
#include "compare/ContentHash.h"
#include "compare/LinesUnderRules.h"
#include "compare/RuleMatch.h"
#include "compare/WordsUnderRules.h"

#include <gtest/gtest.h>

#include <string>
#include <unordered_map>
#include <vector>

using compare::ComparisonRules;
using compare::LookalikeKind;
using compare::LookalikeKinds;
using compare::RuleChoice;
using compare::RuleMatch;

namespace {

using K = LookalikeKind;

LookalikeKinds Kinds(std::initializer_list<LookalikeKind> list) {
    LookalikeKinds kinds;
    for (const LookalikeKind kind : list)
        kinds = kinds.With(kind);
    return kinds;
}

RuleChoice Only(LookalikeKinds kinds) {
    return {kinds, std::nullopt, {}};
}

std::string Names(const compare::MatchedRules& rules) {
    std::string names;
    for (const std::string_view name : compare::MatchedRuleNames(rules))
        names.append(names.empty() ? "" : " ").append(name);
    return names;
}

// What the line comparison of `own` against `other` (one line each, no line break) finds for the
// own line: "red", "same", or the rules that matched it.
std::string LineOutcome(std::u16string_view own, std::u16string_view other,
                        const ComparisonRules& rules) {
    const compare::LineIndex ownLines(own), otherLines(other);
    const compare::LinesUnderRules found =
        compare::SortOutMissingLines(ownLines, ownLines.MissingIn(otherLines), otherLines, rules);
    std::string outcome = "same";
    compare::RuleText text(rules);
    found.ForEach(
        otherLines, [&](compare::Piece) { outcome = "red"; },
        [&](const RuleMatch& match) {
            outcome = match.ignored ? "ignore-matching"
                                    : Names(compare::ExplainRuleMatch(text, own, other));
        });
    return outcome;
}

struct Pair {
    LookalikeKind kind;
    std::u16string own;
    std::u16string other;
    // The forms of the later kinds take in some of the earlier ones: the compatibility form makes
    // every special space a blank and composes as NFC does, and the skeleton does both. A pair of
    // those kinds is matched by these rules too.
    LookalikeKinds alsoBy;
};

// A pair for each kind that the look-alike explainer names by that kind alone.
const std::vector<Pair> kPairs = {
    {K::TrailingSpace, u"abc \t", u"abc", {}},
    {K::LeadingSpace, u" \tabc", u"abc", {}},
    {K::InnerSpace, u"a\t b", u"a b", {}},
    {K::Nbsp, u"1\u202F000", u"1 000", Kinds({K::Compatibility, K::Confusable})},
    {K::ZeroWidth, u"co\u00ADop", u"coop", {}},
    {K::Case, u"Hello", u"hELLO", {}},
    {K::UnicodeForm, u"caf\u00E9", u"cafe\u0301", Kinds({K::Compatibility, K::Confusable})},
    {K::Compatibility, u"\uFF21BC", u"ABC", K::Confusable},
    {K::Confusable, u"\u0430pple", u"apple", {}},
};

} // namespace

// A line that the explainer calls a look-alike of one kind is matched by the rule of that kind,
// and by no rule of another kind alone but those whose forms take that kind in.
TEST(ComparisonRulesTest, EachKindMatchesItsOwnLookalikes) {
    for (const Pair& pair : kPairs) {
        for (const LookalikeKind rule : compare::kLookalikeKinds) {
            SCOPED_TRACE(testing::Message() << compare::LookalikeKindName(pair.kind) << " under "
                                            << compare::LookalikeKindName(rule));
            const ComparisonRules rules(RuleChoice{rule, std::nullopt, {}});
            const std::string expected = rule == pair.kind || pair.alsoBy.Has(rule)
                                             ? std::string(compare::LookalikeKindName(rule))
                                             : "red";
            EXPECT_EQ(LineOutcome(pair.own, pair.other, rules), expected);
            EXPECT_EQ(LineOutcome(pair.other, pair.own, rules), expected);
        }
        // Among all the kinds at once, the match names its own kind alone.
        const ComparisonRules all(RuleChoice{LookalikeKinds::FromBits(0x1FF), std::nullopt, {}});
        EXPECT_EQ(LineOutcome(pair.own, pair.other, all), compare::LookalikeKindName(pair.kind));
    }
}

TEST(ComparisonRulesTest, KindsTogetherAndAVisibleDifference) {
    const LookalikeKinds all = LookalikeKinds::FromBits(0x1FF);
    const LookalikeKinds four = Kinds({K::LeadingSpace, K::TrailingSpace, K::Nbsp, K::Case});
    const struct {
        LookalikeKinds kinds;
        std::u16string own, other;
        std::string outcome;
    } rows[] = {
        {four, u"  Abc\u00A0d ", u"abc d", "trailing-space leading-space nbsp case"},
        // One of the four missing: the pair stays a difference.
        {Kinds({K::LeadingSpace, K::TrailingSpace, K::Nbsp}), u"  Abc\u00A0d ", u"abc d", "red"},
        {four, u"abc d", u"abc d", "same"},
        // One more visible letter stays red under every rule.
        {all, u"  Hello\u00A0World ", u"hello world!", "red"},
        {all, u"colour", u"color", "red"},
        {all, u"\t", u" ", "trailing-space"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "kinds " << row.kinds.Bits());
        EXPECT_EQ(LineOutcome(row.own, row.other, ComparisonRules({row.kinds, std::nullopt, {}})),
                  row.outcome);
    }
}

TEST(ComparisonRulesTest, MasksAndIgnoredLines) {
    const std::u16string stamp = u"\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d";
    const struct {
        RuleChoice choice;
        std::u16string own, other;
        std::string outcome;
    } rows[] = {
        {{{}, std::nullopt, {stamp}},
         u"2026-12-07 10:00:01 started",
         u"2026-12-08 11:15:40 started",
         "mask"},
        {{{}, std::nullopt, {stamp}},
         u"2026-12-07 10:00:01 started",
         u"2026-12-08 11:15:40 stopped",
         "red"},
        // Masks apply first, to the text as the user reads it; the kinds then do their part.
        {{K::Case, std::nullopt, {stamp}},
         u"2026-12-07 10:00:01 Started",
         u"2026-12-08 11:15:40 started",
         "case mask"},
        {{{}, std::nullopt, {u"(?!)"}}, u"a1", u"a2", "red"},       // matches nothing
        {{{}, std::nullopt, {u".*"}}, u"a1", u"something", "mask"}, // matches everything
        {{{}, std::nullopt, {u"x*"}}, u"a1", u"a2", "red"},         // empty matches alike
        {{{}, std::nullopt, {u"x*"}}, u"axx", u"ax", "mask"},
        // Two masks that overlap make one placeholder.
        {{{}, std::nullopt, {u"\\d+", u"[0-9a-f]+"}}, u"id 12ab", u"id 9", "mask"},
        // A placeholder is no character of the text itself.
        {{{}, std::nullopt, {u"\\d"}}, u"\uFDD0", u"1", "red"},
        {{{}, u"^#", {}}, u"# a note", u"something else", "ignore-matching"},
        {{{}, u"^#", {}}, u"a # note", u"something else", "red"},
        {{{}, u"", {}}, u"anything", u"else", "ignore-matching"},
        {{K::Case, u"^#", {}}, u"# Note", u"# note", "case"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.own.begin(), row.own.end()));
        EXPECT_EQ(LineOutcome(row.own, row.other, ComparisonRules(row.choice)), row.outcome);
    }
}

TEST(ComparisonRulesTest, TheFirstLineOfTheOtherTextWithTheKeyIsTheOneMatched) {
    const std::u16string own = u"Beta\r\nalpha\r\n\r";
    const std::u16string other = u"x\r\nBETA \r\nbeta\r\n\r";
    const compare::LineIndex ownLines(own), otherLines(other);
    const ComparisonRules rules({Kinds({K::Case, K::TrailingSpace}), std::nullopt, {}});
    const auto found = compare::CompareLinesUnderRules(ownLines, otherLines, rules);
    std::vector<RuleMatch> matched;
    std::vector<compare::Piece> red;
    found[0].ForEach(
        otherLines, [&](compare::Piece piece) { red.push_back(piece); },
        [&](const RuleMatch& match) { matched.push_back(match); });
    ASSERT_EQ(matched.size(), 1u);
    EXPECT_EQ(matched[0], (RuleMatch{0, 4, false, 2, 6, 2})); // "\nBETA " at 2, line 2
    ASSERT_EQ(red.size(), 1u);
    EXPECT_EQ(red[0], (compare::Piece{5, 6})); // "\nalpha"
}

namespace {

// Two keys under a mask of digits, "<letters>" and a placeholder, with one hash: found among the
// first few hundred thousand letter strings.
std::pair<std::u16string, std::u16string> LettersWithOneMaskedHash() {
    std::unordered_map<std::uint32_t, std::u16string> seen;
    for (std::uint32_t i = 0;; ++i) {
        std::u16string letters;
        for (std::uint32_t n = i; letters.empty() || n > 0; n /= 26)
            letters.push_back(static_cast<char16_t>(u'a' + n % 26));
        const auto [at, entered] = seen.emplace(compare::ContentHash(letters + u'\uFDD0'), letters);
        if (!entered)
            return {at->second, letters};
    }
}

} // namespace

// Missing lines whose keys share a hash: the line of the other text is told from the first and
// found to be the second's, its own key kept while theirs are made.
TEST(ComparisonRulesTest, KeysWithOneHashAreToldApart) {
    const auto [first, second] = LettersWithOneMaskedHash();
    const std::u16string own = first + u"1\r\n" + second + u"1\r\n\r";
    const std::u16string other = second + u"2\r\n\r";
    const compare::LineIndex ownLines(own), otherLines(other);
    const ComparisonRules rules({{}, std::nullopt, {u"[0-9]+"}});
    const std::vector<compare::Piece> red =
        compare::SortOutMissingLines(ownLines, ownLines.MissingIn(otherLines), otherLines, rules)
            .Red();
    ASSERT_EQ(red.size(), 1u);
    EXPECT_EQ(red[0], ownLines.PieceAt(0));
}

namespace {

struct Words {
    std::vector<std::pair<std::size_t, std::size_t>> red;
    std::vector<RuleMatch> matched;
};

Words WordsOf(std::u16string_view own, std::u16string_view other, const RuleChoice& choice) {
    const ComparisonRules rules(choice);
    Words found;
    compare::ForEachWordUnderRules(
        own, other, rules,
        [&](std::size_t start, std::size_t length) { found.red.emplace_back(start, length); },
        [&](const RuleMatch& match) { found.matched.push_back(match); },
        [](std::size_t) { return true; });
    return found;
}

} // namespace

// Words are marked where they stand in the text, however the rules changed them; the walk and its
// look-ahead are the word comparison's own.
TEST(ComparisonRulesTest, WordsAreMarkedAsTheyStand) {
    const LookalikeKinds spaces = Kinds({K::TrailingSpace, K::LeadingSpace, K::InnerSpace});
    {
        // Blanks in a row and tabs make no empty words; capitals match by case.
        const Words found = WordsOf(u"  The  Quick\tbrown fox \r", u"the quick brown fox\r",
                                    Only(spaces.With(K::Case)));
        EXPECT_TRUE(found.red.empty());
        EXPECT_EQ(found.matched,
                  (std::vector<RuleMatch>{{2, 3, false, 0, 3, 1}, {7, 5, false, 4, 5, 1}}));
    }
    {
        // A mask that spans a blank makes one word of what it covers.
        const Words found =
            WordsOf(u"2026-12-07 10:00:01 started\r", u"2026-12-08 11:15:40 started",
                    {{}, std::nullopt, {u"\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d"}});
        EXPECT_TRUE(found.red.empty());
        EXPECT_EQ(found.matched, (std::vector<RuleMatch>{{0, 19, false, 0, 19, 1}}));
    }
    {
        // A zero-width character inside a word, a non-breaking space between two.
        const Words found =
            WordsOf(u"a\u200Bb c\u00A0d e", u"ab c d f", Only(Kinds({K::ZeroWidth, K::Nbsp})));
        EXPECT_EQ(found.red, (std::vector<std::pair<std::size_t, std::size_t>>{{8, 1}}));
        EXPECT_EQ(found.matched, (std::vector<RuleMatch>{{0, 3, false, 0, 2, 1}}));
    }
    {
        // "b a" against "A B": "b" matches the second partner word and uses up the first, so "a"
        // stays red, as the walk has it without rules for "b a" against "a b".
        const Words found = WordsOf(u"b a", u"A B", Only(K::Case));
        EXPECT_EQ(found.red, (std::vector<std::pair<std::size_t, std::size_t>>{{2, 1}}));
        EXPECT_EQ(found.matched, (std::vector<RuleMatch>{{0, 1, false, 2, 1, 1}}));
    }
    {
        // A line the ignore-matching expression finds a match in has no red word.
        const Words found = WordsOf(u"# x y\r\nz\r", u"q\r\nz\r", {{}, u"^#", {}});
        EXPECT_TRUE(found.red.empty());
        EXPECT_EQ(found.matched,
                  (std::vector<RuleMatch>{{0, 1, true}, {2, 1, true}, {4, 1, true}}));
    }
    {
        // With no rule but ignore-matching the walk is the plain one, and only the CR a load
        // appends is left out: a lone CR before it belongs to the last word.
        const Words found = WordsOf(u"a b\r\r", u"a\r", {{}, u"^#", {}});
        EXPECT_EQ(found.red, (std::vector<std::pair<std::size_t, std::size_t>>{{2, 2}}));
    }
}

TEST(ComparisonRulesTest, TheFewestRulesAreNamed) {
    const struct {
        RuleChoice choice;
        std::u16string own, other;
        std::string named;
    } rows[] = {
        {Only(LookalikeKinds::FromBits(0x1FF)), u"Abc ", u"abc", "trailing-space case"},
        {Only(Kinds({K::Case, K::Confusable})), u"Hello", u"hello", "case"},
        {{Kinds({K::Case}), std::nullopt, {u"\\d+"}}, u"a1", u"a2", "mask"},
        {{Kinds({K::Case}), std::nullopt, {u"\\d+"}}, u"A1", u"a2", "case mask"},
        {{Kinds({K::Case}), std::nullopt, {u"\\d+"}}, u"A1", u"a1", "case"},
    };
    for (const auto& row : rows) {
        const ComparisonRules rules(row.choice);
        compare::RuleText text(rules);
        EXPECT_EQ(Names(compare::ExplainRuleMatch(text, row.own, row.other)), row.named);
    }
}

TEST(ComparisonRulesTest, AnExpressionThatCannotBeUsedNamesItselfAndWhy) {
    try {
        const ComparisonRules rules({{}, u"ok", {u"fine", u"a{2,1}"}});
        FAIL() << "accepted";
    } catch (const compare::RuleError& error) {
        EXPECT_EQ(error.Role(), compare::RuleRole::Mask);
        EXPECT_EQ(error.Expression(), u"a{2,1}");
        EXPECT_STREQ(error.what(),
                     "mask 'a{2,1}': in a {min,max} repetition max is less than min, at "
                     "character 7");
    }
}
