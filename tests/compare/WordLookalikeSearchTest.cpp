#include "PlainComparisons.h"
#include "compare/CrLfLines.h"
#include "compare/Lookalike.h"
#include "compare/LookalikeWords.h"
#include "compare/NearLookalikeWord.h"
#include "compare/WordLookalikeCount.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <random>
#include <string>
#include <vector>

using compare::CrLfLineWalker;
using compare::LookalikeKind;
using compare::LookalikeKinds;
using compare::PartnerLineWalker;
using compare::RedWordStart;
using compare::WordLookalike;

namespace {

// Words that often look like one another: case, a zero-width space, a no-break space, composed
// and decomposed letters, a ligature, a Cyrillic letter, tabs (a lone tab looks like the empty
// word); and a lone CR or LF, which stay inside their word.
constexpr std::array<std::u16string_view, 17> kWords{
    u"abc",      u"ABC",  u"ab\u200Bc", u"a\u00A0bc", u"caf\u00E9", u"cafe\u0301",
    u"\uFB01le", u"file", u"\u0430bc",  u"x",         u"X",         u"abc\t",
    u"\tabc",    u"\t",   u"b\rc",      u"b\nc",      u""};

// A pane's text: random lines of those words, sometimes ending in CR LF, sometimes with the CR a
// load appends.
std::u16string RandomPane(std::mt19937& random, std::size_t mostLines, std::size_t mostWords = 6) {
    std::u16string text;
    const std::size_t lines = random() % (mostLines + 1);
    for (std::size_t line = 0; line < lines; ++line) {
        if (line > 0)
            text += u"\r\n";
        for (std::size_t word = random() % (mostWords + 1); word > 0; --word) {
            text += kWords[random() % kWords.size()];
            if (word > 1)
                text += u' ';
        }
    }
    if (random() % 3 == 0)
        text += u"\r\n";
    if (random() % 2 == 0)
        text += u'\r';
    return text;
}

// The word comparison's red words of `own` and their look-alikes.
struct Reference {
    std::vector<RedWordStart> red;
    std::vector<WordLookalike> lookalikes;
};

// Of the partner words at most `window` places from the red word's own place, the nearest (the
// earlier of two) that differs from it and looks like it. (The words here are all short enough
// to key.)
std::optional<std::pair<std::size_t, LookalikeKinds>>
NearestLookalike(plain::Text word, std::size_t place, std::size_t window,
                 const std::vector<plain::Text>& supply) {
    for (std::size_t distance = 0; distance <= window; ++distance)
        for (const std::size_t j : {place - distance, place + distance})
            if (j < supply.size() && supply[j] != word)
                if (const auto kinds = compare::ExplainLookalike(word, supply[j]))
                    return std::pair{j, *kinds};
    return std::nullopt;
}

// The red words and their look-alikes by the rules written plainly.
Reference PlainReference(plain::Text own, plain::Text other) {
    const std::vector<plain::Text> otherLines = plain::WordLines(other);
    Reference reference;
    plain::ForEachLinePair(
        plain::WordLines(own), otherLines,
        [&](plain::Text line, std::optional<std::size_t> partner) {
            const std::vector<plain::Text> words = plain::Words(line);
            const std::vector<plain::Text> supply =
                partner ? plain::Words(otherLines[*partner]) : std::vector<plain::Text>{};
            for (const std::size_t i : plain::UnmatchedWords(words, supply)) {
                const auto start = static_cast<std::size_t>(words[i].data() - own.data());
                reference.red.push_back(static_cast<RedWordStart>(start));
                const auto near = NearestLookalike(
                    words[i], i, std::min(plain::Window(words.size()), compare::kNearestWords),
                    supply);
                if (!near)
                    continue;
                const plain::Text lookalike = supply[near->first];
                reference.lookalikes.push_back(
                    {start, words[i].size(),
                     static_cast<std::size_t>(lookalike.data() - other.data()), lookalike.size(),
                     *partner + 1, near->second});
            }
        });
    return reference;
}

std::optional<WordLookalike> LookalikeStartingAt(const std::vector<WordLookalike>& lookalikes,
                                                 std::size_t start) {
    for (const WordLookalike& lookalike : lookalikes)
        if (lookalike.start == start)
            return lookalike;
    return std::nullopt;
}

std::optional<std::size_t> Count(std::u16string_view own, std::u16string_view other,
                                 const std::vector<RedWordStart>& red) {
    return compare::CountWordLookalikes(own, other, red, [](std::size_t) { return true; });
}

} // namespace

TEST(CrLfLinesTest, TheLoadsFinalCRIsNoPartOfTheText) {
    EXPECT_EQ(compare::WordComparisonText(u"a b\r\nc\r"), u"a b\r\nc");
    EXPECT_EQ(compare::WordComparisonText(u"a\r\n\r"), u"a\r\n");
    EXPECT_EQ(compare::WordComparisonText(u"\r"), u"");
    EXPECT_EQ(compare::WordComparisonText(u"a\r\n"), u"a\r\n");
    EXPECT_EQ(compare::WordComparisonText(u""), u"");
}

// The walkers cut and pair lines as the word comparison does: held against its rules written
// plainly, on texts with lone CRs and LFs, empty lines and CR LF at the end.
TEST(CrLfLinesTest, LinesAndPartnersAgreeWithTheWordComparison) {
    std::mt19937 random(21);
    for (int round = 0; round < 400; ++round) {
        const std::u16string own(compare::WordComparisonText(RandomPane(random, 8)));
        const std::u16string other(compare::WordComparisonText(RandomPane(random, 8)));
        const std::vector<plain::Text> ownLines = plain::WordLines(own);
        const std::vector<plain::Text> otherLines = plain::WordLines(other);
        CrLfLineWalker line(own);
        PartnerLineWalker partner(other);
        ASSERT_EQ(line.HasLine(), !ownLines.empty());
        ASSERT_EQ(partner.HasLine(), !otherLines.empty());
        std::size_t i = 0;
        plain::ForEachLinePair(
            ownLines, otherLines, [&](plain::Text expected, std::optional<std::size_t> j) {
                ASSERT_EQ(line.Number(), i) << "round " << round;
                EXPECT_EQ(line.Start(), static_cast<std::size_t>(expected.data() - own.data()))
                    << "round " << round;
                EXPECT_EQ(line.Line(), expected) << "round " << round;
                if (j) {
                    EXPECT_EQ(partner.Line().Number(), *j) << "round " << round;
                    EXPECT_EQ(partner.Line().Line(), otherLines[*j]) << "round " << round;
                }
                EXPECT_EQ(line.HasNext(), ++i < ownLines.size());
                if (line.HasNext()) {
                    line.Next();
                    partner.Next();
                }
            });
    }
}

TEST(WordLookalikeAtTest, FindsTheWordsLineAndItsPartner) {
    const LookalikeKinds kCase = LookalikeKind::Case;
    const LookalikeKinds kZeroWidth = LookalikeKind::ZeroWidth;
    struct Case {
        std::u16string own;
        std::size_t at;
        std::u16string other;
        std::optional<WordLookalike> expected;
    };
    const std::vector<Case> cases{
        // The first word of the second line, against the second line of the other text.
        {u"a b\r\nQuick fox\r", 5, u"a b\r\nquick fox\r", WordLookalike{5, 5, 5, 5, 2, kCase}},
        // A place inside the word, and the blank after it, stand for the word.
        {u"a b\r\nQuick fox\r", 7, u"a b\r\nquick fox\r", WordLookalike{5, 5, 5, 5, 2, kCase}},
        {u"a b\r\nQuick fox\r", 10, u"a b\r\nquick fox\r", WordLookalike{5, 5, 5, 5, 2, kCase}},
        // A place on a line's CR LF stands for the line's last word.
        {u"a Fox\r\nb\r", 6, u"a fox\r\nb\r", WordLookalike{2, 3, 2, 3, 1, kCase}},
        // The last word of each text ends before the load's CR.
        {u"x Fox\r", 2, u"x fox\r", WordLookalike{2, 3, 2, 3, 1, kCase}},
        // Lines past the other text's last line pair with that line; its empty last line after a
        // CR LF never is a partner.
        {u"a\r\nb\r\nc\r\nFOX\r", 9, u"fox\r\nfox\r\n\r", WordLookalike{9, 3, 5, 3, 2, kCase}},
        // A lone CR belongs to its word.
        {u"b\rc\u200B\r", 0, u"b\rc\r", WordLookalike{0, 4, 0, 3, 1, kZeroWidth}},
        // No look-alike: a real change, an empty line, a place past the text, an empty other.
        {u"the quick fox\r", 4, u"the quack fox\r", std::nullopt},
        {u"a\r\n\r\nb\r", 3, u"A\r\n\r\nB\r", std::nullopt},
        {u"Fox\r", 4, u"fox\r", std::nullopt},
        {u"Fox\r", 0, u"\r", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases.data()));
        EXPECT_EQ(compare::FindLookalikeWordAt(c.own, c.at, c.other), c.expected);
    }
}

// Each red word's look-alike, found from the two texts alone, is the one the rules name, and the
// count is their number.
TEST(WordLookalikeAtTest, AgreesWithTheRulesWrittenPlainly) {
    std::mt19937 random(22);
    std::size_t found = 0;
    for (int round = 0; round < 600; ++round) {
        // Short lines, and lines long enough that the comparison would look further than the
        // nearest words.
        const bool longLines = round % 10 == 9;
        const std::u16string own = RandomPane(random, longLines ? 4 : 12, longLines ? 80 : 6);
        const std::u16string other = RandomPane(random, longLines ? 4 : 12, longLines ? 80 : 6);
        const Reference reference = PlainReference(own, other);
        for (const RedWordStart start : reference.red)
            ASSERT_EQ(compare::FindLookalikeWordAt(own, start, other),
                      LookalikeStartingAt(reference.lookalikes, start))
                << "round " << round << ", word at " << start;
        ASSERT_EQ(Count(own, other, reference.red), reference.lookalikes.size())
            << "round " << round;
        found += reference.lookalikes.size();
    }
    EXPECT_GT(found, 200u); // the texts do hold look-alikes
}

namespace {

// Texts large enough to be counted in two halves and to ask whether to go on many times. Each line
// of `own` begins with a capitalised word that its partner line has in small letters, so that
// every line has exactly one look-alike while the lines are paired right, and none when paired
// with a neighbour.
std::pair<std::u16string, std::u16string> LargePair(std::size_t lines) {
    constexpr std::array<std::u16string_view, 12> kPlain{u"alpha", u"bravo",   u"charlie", u"delta",
                                                         u"echo",  u"foxtrot", u"golf",    u"hotel",
                                                         u"india", u"juliet",  u"kilo",    u"lima"};
    std::mt19937 random(23);
    std::u16string own, other;
    for (std::size_t line = 0; line < lines; ++line) {
        std::u16string first(kPlain[line % kPlain.size()]);
        other.append(first);
        first[0] = static_cast<char16_t>(first[0] - u'a' + u'A');
        own.append(first);
        for (int word = 0; word < 6; ++word) {
            // Never the first word, which would then match in one direction.
            const std::u16string_view plain =
                kPlain[(line + 1 + random() % (kPlain.size() - 1)) % kPlain.size()];
            own.append(u" ").append(plain);
            other.append(u" ").append(plain);
        }
        own.append(u"\r\n");
        other.append(u"\r\n");
    }
    return {own + u'\r', other + u'\r'};
}

} // namespace

TEST(WordLookalikeCountTest, TwoHalvesCountWhatTheRulesFind) {
    constexpr std::size_t kLines = 30'000;
    const auto [own, other] = LargePair(kLines);
    ASSERT_GT(own.size(), std::size_t{1} << 20); // counted in two halves
    for (const auto& [a, b] : {std::pair{&own, &other}, std::pair{&other, &own}}) {
        const Reference reference = PlainReference(*a, *b);
        std::vector<std::size_t> progress;
        const auto count =
            compare::CountWordLookalikes(*a, *b, reference.red, [&](std::size_t done) {
                progress.push_back(done);
                return true;
            });
        EXPECT_EQ(count, reference.lookalikes.size());
        EXPECT_EQ(count, kLines); // no line left out or counted twice where the halves meet
        ASSERT_FALSE(progress.empty());
        EXPECT_LE(progress.back(), a->size());
    }
}

TEST(WordLookalikeCountTest, StopsWhenAskedTo) {
    for (std::size_t lines : {10'000, 30'000}) { // one thread, then two
        const auto [own, other] = LargePair(lines);
        const std::vector<RedWordStart> red = PlainReference(own, other).red;
        int asked = 0;
        const auto count =
            compare::CountWordLookalikes(own, other, red, [&](std::size_t) { return ++asked < 2; });
        EXPECT_EQ(count, std::nullopt) << lines << " lines";
        EXPECT_EQ(asked, 2) << lines << " lines";
    }
}

TEST(WordLookalikeCountTest, NothingToCount) {
    const std::vector<RedWordStart> none;
    const std::vector<RedWordStart> fox{0};
    EXPECT_EQ(Count(u"Fox\r", u"fox\r", none), 0u);
    EXPECT_EQ(Count(u"Fox\r", u"\r", fox), 0u);
    EXPECT_EQ(Count(u"Fox\r", u"fox\r", fox), 1u);
    // A red word that does not stand on a line of the text is not counted.
    EXPECT_EQ(Count(u"Fox\r", u"fox\r", std::vector<RedWordStart>{9}), 0u);
}
