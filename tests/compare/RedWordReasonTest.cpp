#include "compare/RedWordReason.h"

#include "PlainComparisons.h"
#include "compare/RedWordNote.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

// The note of word `word` of `line` against `partner`, as the tooltip gives it; empty when the
// walk matches the word.
QString Note(std::u16string_view line, std::size_t word, std::u16string_view partner) {
    const auto reason = compare::ExplainRedWordOfLine(line, word, partner);
    return reason ? RedWordNote(*reason, u"Text File #2"_s) : QString();
}

} // namespace

// The rule's own examples, and the one that puzzles users: the first "the" matches the partner's
// later "the" and uses up "a report to" on the way.
TEST(RedWordReasonTest, TheWorkedExamplesSayWhatTheWalkDid) {
    const struct {
        std::u16string_view line, partner;
        std::size_t word;
        QString note;
    } cases[] = {
        {u"send the report to the team", u"send a report to the team", 2,
         u"Line 1 of Text File #2 has `report` at word 3, but the walk had already passed it: "
         u"the `the` before it used up words 2\u20135"_s},
        {u"send the report to the team", u"send a report to the team", 4,
         u"Line 1 of Text File #2 has `the` at word 5, but the walk had already passed it: the "
         u"`the` before it used up words 2\u20135"_s},
        {u"send the report to the team", u"send a report to the team", 1, QString()},
        {u"the quick brown fox", u"the quick red fox", 2,
         u"Line 1 of Text File #2 has no `brown`"_s},
        {u"a a b", u"a b", 1,
         u"Line 1 of Text File #2 has `a` at word 1, but the walk had already passed it: the `a` "
         u"before it used up word 1"_s},
        {u"b a", u"a b", 1,
         u"Line 1 of Text File #2 has `a` at word 1, but the walk had already passed it: the `b` "
         u"before it used up words 1\u20132"_s},
        {u"x a b c d", u"a b c d x", 0,
         u"Line 1 of Text File #2 has `x` at word 5, beyond the 3 words the walk looks at from "
         u"word 1 (the look-ahead of this line)"_s},
        {u"hello", u"x hello", 0,
         u"Line 1 of Text File #2 has `hello` at word 2, beyond the word the walk looks at from "
         u"word 1 (the look-ahead of this line)"_s},
        {u"a  b", u"a b", 1, u"Line 1 of Text File #2 has no an empty word"_s},
        {u"The cat", u"the cat", 0, u"Line 1 of Text File #2 has no `The`"_s},
        {u"one", u"", 0, u"Line 1 of Text File #2 has no `one`"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(
            QString::fromUtf16(c.line.data(), static_cast<qsizetype>(c.line.size())).toStdString());
        EXPECT_EQ(Note(c.line, c.word, c.partner), c.note);
    }
}

// A word is explained exactly when the plain rule leaves it unmatched.
TEST(RedWordReasonTest, ExactlyTheWordsTheWalkLeavesUnmatchedAreExplained) {
    std::mt19937 random(7);
    const std::u16string_view vocabulary[] = {u"a", u"b", u"c", u"", u"dd"};
    const auto line = [&](std::size_t words) {
        std::u16string text;
        for (std::size_t i = 0; i < words; ++i) {
            if (i > 0)
                text.push_back(u' ');
            text.append(vocabulary[random() % 5]);
        }
        return text;
    };
    for (int round = 0; round < 2000; ++round) {
        const std::u16string own = line(1 + random() % 9), partner = line(random() % 9);
        const std::vector<std::size_t> unmatched =
            plain::UnmatchedWords(plain::Words(own), plain::Words(partner));
        for (std::size_t word = 0; word < plain::Words(own).size(); ++word) {
            const bool red = std::find(unmatched.begin(), unmatched.end(), word) != unmatched.end();
            const auto reason = compare::ExplainRedWordOfLine(own, word, partner);
            ASSERT_EQ(reason.has_value(), red) << "round " << round << ", word " << word;
            if (reason && reason->kind == compare::RedWordReason::Kind::Passed) {
                ASSERT_TRUE(reason->usedFrom <= reason->partnerWord &&
                            reason->partnerWord <= reason->usedTo && reason->usedBy < word);
            }
        }
    }
}

// In a pane's text the word's line is found, and its partner as the comparison pairs them.
TEST(RedWordReasonTest, AWordOfAPaneIsExplainedAgainstItsPartnerLine) {
    const std::u16string own = u"same\r\nsend the report to the team\r\nlast\r";
    const std::u16string other = u"same\r\nsend a report to the team\r\n";
    const auto reason = compare::ExplainRedWordAt(own, own.find(u"report"), other);
    ASSERT_TRUE(reason);
    EXPECT_EQ(reason->partnerLine, 1u);
    EXPECT_EQ(RedWordNote(*reason, u"Text File #2"_s),
              u"Line 2 of Text File #2 has `report` at word 3, but the walk had already passed "
              u"it: the `the` before it used up words 2\u20135"_s);
    EXPECT_FALSE(compare::ExplainRedWordAt(own, own.find(u"eport"), other))
        << "no word begins there";
    EXPECT_TRUE(compare::ExplainRedWordAt(own, own.find(u"last"), other))
        << "past the partner's last line, the last line reached is the partner";
}
