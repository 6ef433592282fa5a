#include "compare/ComparisonRules.h"

namespace compare {

ComparisonRules::ComparisonRules(RuleChoice choice) : choice_(std::move(choice)) {
    if (choice_.ignoreMatching)
        ignoreMatching_.emplace(RuleRole::IgnoreMatching, *choice_.ignoreMatching);
    masks_.reserve(choice_.masks.size());
    for (const std::u16string& mask : choice_.masks)
        masks_.emplace_back(RuleRole::Mask, mask);
}

} // namespace compare
