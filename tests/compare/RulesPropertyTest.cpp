// The comparisons under a rule give what the plain comparisons give on copies of the texts whose
// lines are what that rule makes of them.
#include "RuleNormalised.h"
#include "compare/LinesUnderRules.h"
#include "compare/WordsUnderRules.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace compare {
void PrintTo(const RuleMatch& match, std::ostream* out) {
    *out << '{' << match.start << ',' << match.length;
    if (match.ignored)
        *out << " ignored";
    else
        *out << " -> " << match.otherStart << ',' << match.otherLength << " line "
             << match.otherLine;
    *out << '}';
}
} // namespace compare

using compare::ComparisonRules;
using compare::LookalikeKinds;
using compare::RuleChoice;
using compare::RuleMatch;

namespace {

// Long lines of ASCII, blanks, tabs and capitals, which the forms make sixteen units at a time.
std::u16string RandomAsciiText(std::mt19937& random) {
    static const std::u16string_view pieces[] = {u"ab", u"A",  u"Zz",  u" ",    u" ",  u" ",
                                                 u"  ", u"\t", u"x y", u"\r\n", u"Qu", u"0"};
    std::u16string text;
    for (int i = static_cast<int>(random() % 120); i > 0; --i)
        text += pieces[random() % std::size(pieces)];
    return text + u'\r';
}

std::u16string RandomText(std::mt19937& random) {
    if (random() % 3 == 0)
        return RandomAsciiText(random);
    static const std::u16string_view pieces[] = {
        u"a",      u"A",      u"b",      u"B",  u" ",      u" ",      u"  ",     u"\t",
        u"\r\n",   u"\r\n",   u"\r\n",   u"\r", u"\n",     u"\u00A0", u"\u200B", u"e\u0301",
        u"\u00E9", u"\uFB01", u"fi",     u"m",  u"rn",     u"0",      u"O",      u"\u0430",
        u"\u00B4", u"\u2003", u"\uFF41", u"x",  u"\uFDD1", u"\u0301"};
    std::u16string text;
    for (int i = static_cast<int>(random() % 30); i > 0; --i)
        text += pieces[random() % std::size(pieces)];
    if (random() % 4 != 0)
        text += u'\r'; // as a load ends it
    return text;
}

LookalikeKinds RandomKinds(std::mt19937& random) {
    // One kind alone half the time, any set otherwise.
    if (random() % 2 == 0)
        return compare::kLookalikeKinds[random() % compare::kLookalikeKindCount];
    return LookalikeKinds::FromBits(
        static_cast<std::uint16_t>(1 + random() % ((1u << compare::kLookalikeKindCount) - 1)));
}

} // namespace

TEST(RulesPropertyTest, LinesAreThePlainComparisonOfTheFormedTexts) {
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        const std::u16string texts[] = {RandomText(random), RandomText(random)};
        const LookalikeKinds kinds = RandomKinds(random);
        const ComparisonRules rules(RuleChoice{kinds, std::nullopt, {}});
        SCOPED_TRACE(testing::Message() << "round " << round << " kinds " << kinds.Bits());
        const compare::LineIndex first(texts[0]), second(texts[1]);
        const auto found = compare::CompareLinesUnderRules(first, second, rules);
        for (int own = 0; own < 2; ++own) {
            const compare::LineIndex& otherLines = own == 0 ? second : first;
            std::vector<compare::Piece> redPieces;
            std::vector<RuleMatch> matches;
            found[own].ForEach(
                otherLines, [&](compare::Piece piece) { redPieces.push_back(piece); },
                [&](const RuleMatch& match) { matches.push_back(match); });
            std::vector<std::size_t> red;
            for (const compare::Piece piece : redPieces)
                red.push_back(plain::PieceNumberAt(texts[own], piece.start));
            const std::vector<std::size_t> expectedRed =
                plain::RedPiecesUnderKinds(texts[own], texts[1 - own], kinds);
            EXPECT_EQ(red, expectedRed);
            // The rest of what the plain comparison misses is matched, each by the first line of
            // the other text with the same form.
            std::vector<std::size_t> matched, expectedMatched;
            for (const RuleMatch& match : matches) {
                const std::size_t line = plain::PieceNumberAt(texts[own], match.start);
                matched.push_back(line);
                const std::u16string form = compare::RemoveLookalikeDifferences(
                    kinds, compare::LineContent(
                               std::u16string_view(texts[own]).substr(match.start, match.length)));
                std::size_t firstAlike = 0;
                while (compare::RemoveLookalikeDifferences(
                           kinds, compare::LineContent(otherLines.Text().substr(
                                      otherLines.PieceAt(firstAlike).start,
                                      otherLines.PieceAt(firstAlike).length))) != form)
                    ++firstAlike;
                EXPECT_EQ(match.otherLine, firstAlike + 1);
                EXPECT_EQ(match.otherStart, otherLines.PieceAt(firstAlike).start);
            }
            for (const std::size_t start : plain::MissingPieces(texts[own], texts[1 - own])) {
                const std::size_t line = plain::PieceNumberAt(texts[own], start);
                if (std::find(expectedRed.begin(), expectedRed.end(), line) == expectedRed.end())
                    expectedMatched.push_back(line);
            }
            EXPECT_EQ(matched, expectedMatched);
        }
    }
}

// Both directions read from one pass over the second text, in two halves on two threads, against
// each direction read on its own a batch of keys at a time: on texts of many lines, many of them
// alike under the rules and repeated, the same outcome for every missing line, partners included.
TEST(RulesPropertyTest, BothDirectionsAtOnceSortOutAsEachOnItsOwn) {
    std::mt19937 random(17);
    const std::u16string_view words[] = {u"alpha",    u"Alpha",   u"ALPHA ",  u" beta", u"beta",
                                         u"gamma 12", u"gamma 7", u"Delta\t", u"",      u"rn"};
    const auto text = [&] {
        std::u16string made;
        for (int line = static_cast<int>(200 + random() % 400); line > 0; --line) {
            made += words[random() % std::size(words)];
            made += words[random() % std::size(words)];
            made += random() % 5 == 0 ? u"\r" : u"\r\n";
        }
        return made;
    };
    const RuleChoice choices[] = {
        {LookalikeKinds(compare::LookalikeKind::Case), std::nullopt, {}},
        {LookalikeKinds(compare::LookalikeKind::Case).With(compare::LookalikeKind::TrailingSpace),
         std::nullopt,
         {}},
        {LookalikeKinds(compare::LookalikeKind::LeadingSpace), std::u16string(u"^g"), {u"[0-9]+"}},
        {{}, std::nullopt, {u"[0-9]+", u"a"}},
        {LookalikeKinds(compare::LookalikeKind::Confusable), std::nullopt, {}},
    };
    for (int round = 0; round < 20; ++round) {
        const std::u16string texts[] = {text(), text()};
        const compare::LineIndex first(texts[0]), second(texts[1]);
        for (const RuleChoice& choice : choices) {
            SCOPED_TRACE(testing::Message() << "round " << round);
            const ComparisonRules rules(choice);
            const auto together = compare::CompareLinesUnderRules(first, second, rules);
            const auto apart = compare::CompareLinesUnderRules(first, second, rules, {}, 7);
            for (int side = 0; side < 2; ++side) {
                ASSERT_EQ(together[side].MissingCount(), apart[side].MissingCount());
                for (std::size_t i = 0; i < together[side].MissingCount(); ++i)
                    ASSERT_EQ(together[side].Outcome(i), apart[side].Outcome(i))
                        << side << ' ' << i;
            }
        }
    }
}

// The lines are paired as they stand: a last line that the rules leave empty is still a line of
// the text, not the empty line a final line break leaves, so it stays a partner.
TEST(RulesPropertyTest, WordsAreThePlainComparisonOfTheFormedLines) {
    std::mt19937 random(13);
    for (int round = 0; round < 3000; ++round) {
        const std::u16string texts[] = {RandomText(random), RandomText(random)};
        const LookalikeKinds kinds = RandomKinds(random);
        const ComparisonRules rules(RuleChoice{kinds, std::nullopt, {}});
        SCOPED_TRACE(testing::Message() << "round " << round << " kinds " << kinds.Bits());
        for (int own = 0; own < 2; ++own) {
            plain::Marks red;
            std::vector<RuleMatch> matched;
            EXPECT_TRUE(compare::ForEachWordUnderRules(
                texts[own], texts[1 - own], rules,
                [&](std::size_t start, std::size_t length) {
                    red.push_back({start, length});
                },
                [&](const RuleMatch& match) { matched.push_back(match); },
                [](std::size_t) { return true; }));
            const plain::Marks expected =
                plain::RedWordsUnderKinds(texts[own], texts[1 - own], kinds);
            EXPECT_EQ(red, expected);
            // A word matched only by a rule differs, as it stands, from the word it matched.
            for (const RuleMatch& match : matched) {
                EXPECT_FALSE(match.ignored);
                EXPECT_NE(std::u16string_view(texts[own]).substr(match.start, match.length),
                          std::u16string_view(texts[1 - own])
                              .substr(match.otherStart, match.otherLength));
            }
        }
    }
}

// A long line is formed and walked a part at a time: with parts of a few units, every line is
// long, and what the walk finds must be what it finds with the line formed whole.
TEST(RulesPropertyTest, ALineWalkedInPartsFindsWhatItFindsWhole) {
    std::mt19937 random(17);
    for (int round = 0; round < 3000; ++round) {
        const std::u16string texts[] = {RandomAsciiText(random), RandomAsciiText(random)};
        const LookalikeKinds kinds = RandomKinds(random);
        const ComparisonRules rules(RuleChoice{kinds, std::nullopt, {}});
        SCOPED_TRACE(testing::Message() << "round " << round << " kinds " << kinds.Bits());
        const auto walk = [&](std::size_t partUnits) {
            compare::WordsUnderRulesOfLine compare(rules, partUnits);
            const std::vector<plain::Text> lines = plain::WordLines(texts[0]);
            const std::vector<plain::Text> partners = plain::WordLines(texts[1]);
            std::vector<RuleMatch> found;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                compare.Partner(i < partners.size() ? partners[i] : u"");
                compare.Compare(
                    lines[i],
                    [&](std::size_t start, std::size_t length) {
                        found.push_back({start, length, false, 0, 0, i});
                    },
                    [&](const RuleMatch& match) {
                        found.push_back(match);
                        found.back().otherLine = i;
                    },
                    [](std::size_t) { return true; });
            }
            return found;
        };
        EXPECT_EQ(walk(1 + random() % 12), walk(std::size_t{1} << 20));
    }
}
