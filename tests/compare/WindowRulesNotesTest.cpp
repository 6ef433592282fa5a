// The window's names for the rules: each kind the window offers is the engine's kind of that
// name, and the tooltips put the rules behind a match in words.
#include "app/RuleKindNames.h"
#include "compare/CompiledWindowRules.h"
#include "compare/LookalikeKinds.h"
#include "compare/RuleMatchTips.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using compare::LookalikeKind;

TEST(WindowRulesNotesTest, EachKindTheWindowOffersIsTheEngineKindOfThatName) {
    ASSERT_EQ(kRuleKindNames.size(), compare::kLookalikeKinds.size());
    for (std::size_t i = 0; i < kRuleKindNames.size(); ++i) {
        const QString name = QString::fromUtf16(kRuleKindNames[i].name);
        const std::string_view engineName = compare::LookalikeKindName(compare::kLookalikeKinds[i]);
        EXPECT_EQ(name.toStdString(), std::string(engineName));
        const compare::ComparisonRules rules = CompiledWindowRules({{name}, std::nullopt, {}});
        EXPECT_EQ(rules.Kinds(), compare::LookalikeKinds(compare::kLookalikeKinds[i]))
            << engineName;
    }
}

TEST(WindowRulesNotesTest, TooltipsNameTheRulesBehindAMatch) {
    const compare::RuleMatch line{0, 5, false, 20, 5, 812};
    compare::MatchedRules caseAlone{LookalikeKind::Case};
    compare::MatchedRules two{
        compare::LookalikeKinds(LookalikeKind::TrailingSpace).With(LookalikeKind::Case)};
    compare::MatchedRules masked{{}, true};
    compare::MatchedRules three{
        compare::LookalikeKinds(LookalikeKind::Nbsp).With(LookalikeKind::Case), true};
    const QString other = u"Text File #2"_s;
    EXPECT_EQ(RuleMatchNote(line, caseAlone, other, true, {}),
              u"Matches line 812 of Text File #2 when case is ignored"_s);
    EXPECT_EQ(RuleMatchNote(line, two, other, true, {}),
              u"Matches line 812 of Text File #2 when trailing blanks and case are ignored"_s);
    EXPECT_EQ(RuleMatchNote(line, masked, other, false, {}),
              u"Matches a word of line 812 of Text File #2 when the masks' matches are ignored"_s);
    EXPECT_EQ(RuleMatchNote(line, three, other, true, {}),
              u"Matches line 812 of Text File #2 when special spaces, case and the masks' "
              u"matches are ignored"_s);
    const compare::RuleMatch ignored{0, 5, true};
    EXPECT_EQ(RuleMatchNote(ignored, {}, other, true, u"^#"_s), u"Ignored: the line matches ^#"_s);
    EXPECT_EQ(RuleMatchCountNote(0, true), QString());
    EXPECT_EQ(RuleMatchCountNote(1, true), u", 1 more line matches only by the rules"_s);
    EXPECT_EQ(RuleMatchCountNote(40, false), u", 40 more words match only by the rules"_s);
}
