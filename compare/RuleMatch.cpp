#include "compare/RuleMatch.h"

#include "compare/Lookalike.h"

#include <string>

namespace compare {

std::vector<std::string_view> MatchedRuleNames(const MatchedRules& rules) {
    std::vector<std::string_view> names;
    for (const LookalikeKind kind : kLookalikeKinds)
        if (rules.kinds.Has(kind))
            names.push_back(LookalikeKindName(kind));
    if (rules.mask)
        names.push_back("mask");
    if (rules.ignoreMatching)
        names.push_back("ignore-matching");
    return names;
}

MatchedRules ExplainRuleMatch(RuleText& text, std::u16string_view own, std::u16string_view other) {
    const LookalikeKinds kinds = text.Rules().Kinds();
    if (const auto unmasked = ExplainLookalikeWithin(own, other, kinds))
        return {*unmasked};
    if (!text.Rules().HasMasks())
        return {kinds}; // not asked about a match the rules made
    const std::u16string maskedOwn(text.Masked(own));
    const std::u16string_view maskedOther = text.Masked(other);
    if (maskedOwn == maskedOther)
        return {{}, true};
    if (const auto masked = ExplainLookalikeWithin(maskedOwn, maskedOther, kinds))
        return {*masked, true};
    return {kinds, true};
}

} // namespace compare
