#include "compare/RuleText.h"
#include "RuleNormalised.h"
#include "compare/LookalikeForms.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using compare::ComparisonRules;
using compare::LookalikeKind;
using compare::LookalikeKinds;
using compare::RuleChoice;
using compare::RuleText;

namespace {

ComparisonRules Rules(LookalikeKinds kinds, std::vector<std::u16string> masks = {}) {
    return ComparisonRules(RuleChoice{kinds, std::nullopt, std::move(masks)});
}

// Units that every kind does something to, and the text that stands beside them.
std::u16string RandomText(std::mt19937& random) {
    static const std::u16string_view pieces[] = {
        u"a",      u"B",      u"m",      u"0",      u"I",      u" ",       u"  ",
        u"\t",     u"%",      u"\u00A0", u"\u200B", u"\u00AD", u"e\u0301", u"\u00E9",
        u"\u0301", u"\uFB01", u"\uFF21", u"\u0430", u"\u00B4", u"\u2003",  u"\u00DF",
        u"\uFDD0", u"\uFDD1", u"x",      u"\u2028", u"\n",     u"\u212A",  u"\U0001D400"};
    std::u16string text;
    for (int i = static_cast<int>(random() % 12); i > 0; --i)
        text += pieces[random() % std::size(pieces)];
    return text;
}

} // namespace

// A line's key under a set of kinds is what removing each kind gives, by the look-alike forms
// themselves: the table of ASCII images and the parts cut at spaces must not change it.
TEST(RuleTextTest, KeysAndWordFormsAreTheLookalikeForms) {
    std::mt19937 random(7);
    for (std::uint16_t bits = 1; bits < 1u << compare::kLookalikeKindCount; ++bits) {
        const LookalikeKinds kinds = LookalikeKinds::FromBits(bits);
        const ComparisonRules rules = Rules(kinds);
        RuleText text(rules);
        compare::RuleLine form;
        for (int i = 0; i < 40; ++i) {
            const std::u16string line = RandomText(random);
            const std::u16string expected = compare::RemoveLookalikeDifferences(kinds, line);
            SCOPED_TRACE(testing::Message() << "kinds " << bits << " line #" << i);
            EXPECT_EQ(std::u16string(text.Key(line)), expected);
            text.Form(line, form);
            EXPECT_EQ(std::u16string(form.Text()),
                      compare::RemoveLookalikeDifferences(kinds, plain::EscapedAsWordForms(line)));
        }
    }
}

// Long lines of ASCII are keyed sixteen units at a time: blanks and tabs at every place in a
// block, and runs across blocks, must come out as the forms say.
TEST(RuleTextTest, LongPlainLinesKeyAsTheFormsSay) {
    std::mt19937 random(5);
    static const char16_t units[] = {u'a', u'Q', u'z',  u'Z', u'@', u'[',
                                     u' ', u' ', u'\t', u'0', u'm', u'\uFDD0'};
    for (std::uint16_t bits = 1; bits < 1u << compare::kLookalikeKindCount; ++bits) {
        const LookalikeKinds kinds = LookalikeKinds::FromBits(bits);
        RuleText text(Rules(kinds));
        for (int i = 0; i < 30; ++i) {
            std::u16string line;
            for (int n = static_cast<int>(random() % 80); n > 0; --n)
                line += units[random() % (std::size(units) - (i % 3 == 0 ? 0 : 1))];
            SCOPED_TRACE(testing::Message() << "kinds " << bits << " line #" << i);
            EXPECT_EQ(std::u16string(text.Key(line)),
                      compare::RemoveLookalikeDifferences(kinds, line));
        }
    }
}

// A line said to be its own key is: every kind, lines of ASCII around sixteen-unit blocks and
// lines of the pieces every kind changes; and lines of plain lower-case words with single blanks,
// which make most of a text, are found to be their own keys under the rules about blanks and case.
TEST(RuleTextTest, ALineSaidToBeItsOwnKeyIs) {
    std::mt19937 random(17);
    static const char16_t units[] = {u'a', u'Q', u'z', u'Z', u'@', u'[', u' ', u'\t', u'0'};
    int said = 0;
    for (std::uint16_t bits = 1; bits < 1u << compare::kLookalikeKindCount; ++bits) {
        RuleText text(Rules(LookalikeKinds::FromBits(bits)));
        for (int i = 0; i < 60; ++i) {
            std::u16string line;
            if (i % 2 == 0) {
                for (int n = static_cast<int>(random() % 70); n > 0; --n)
                    line += units[random() % (i % 4 == 0 ? 3 : std::size(units))];
            } else {
                line = RandomText(random);
            }
            SCOPED_TRACE(testing::Message() << "kinds " << bits << " line #" << i);
            if (text.KeyIsContent(line)) {
                ++said;
                EXPECT_EQ(std::u16string(text.Key(line)), line);
            }
        }
    }
    EXPECT_GT(said, 1000) << "most lines of lower-case words are told";
    RuleText spacesAndCase(Rules(LookalikeKinds::FromBits(LookalikeKinds(LookalikeKind::Case)
                                                              .With(LookalikeKind::LeadingSpace)
                                                              .With(LookalikeKind::TrailingSpace)
                                                              .With(LookalikeKind::InnerSpace)
                                                              .Bits())));
    EXPECT_TRUE(spacesAndCase.KeyIsContent(u"send the report to the team, at noon"));
    EXPECT_FALSE(spacesAndCase.KeyIsContent(u"send the Report"));
    EXPECT_FALSE(spacesAndCase.KeyIsContent(u"send  the report"));
    EXPECT_FALSE(spacesAndCase.KeyIsContent(u"send the report "));
}

// Each word of a line's form is marked where it stands: formed on its own, the units there give
// the word. Lines of ASCII, blanks and tabs, long enough to be formed sixteen units at a time,
// under case and the space kinds.
TEST(RuleTextTest, EachWordOfAFormComesFromItsPlace) {
    std::mt19937 random(9);
    static const char16_t units[] = {u'a', u'Q', u'z', u' ', u' ', u'\t'};
    for (std::uint16_t bits = 0; bits < 16; ++bits) {
        // Trailing, leading and inner space, and case.
        const LookalikeKinds kinds = LookalikeKinds::FromBits(
            static_cast<std::uint16_t>((bits & 7) | ((bits & 8) != 0 ? 0x20 : 0)));
        RuleText text(Rules(kinds));
        compare::RuleLine form;
        for (int i = 0; i < 200; ++i) {
            std::u16string line;
            for (int n = static_cast<int>(random() % 90); n > 0; --n)
                line += units[random() % std::size(units)];
            text.Form(line, form);
            SCOPED_TRACE(testing::Message() << "kinds " << kinds.Bits() << " line #" << i);
            std::size_t start = 0;
            const std::u16string_view made = form.Text();
            for (std::size_t end = 0; !made.empty() && end <= made.size(); ++end) {
                if (end < made.size() && made[end] != u' ')
                    continue;
                const auto [from, to] = form.Original(start, end - start);
                EXPECT_EQ(compare::RemoveLookalikeDifferences(
                              LookalikeKinds::FromBits(kinds.Bits() & 0x20),
                              std::u16string_view(line).substr(from, to - from)),
                          made.substr(start, end - start));
                start = end + 1;
            }
        }
    }
}
