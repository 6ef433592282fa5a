#pragma once

#include "compare/LookalikeKinds.h"
#include "compare/RuleExpression.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace compare {

// What a user chose to count as no difference, as the window's settings and the command line hold
// it. The default, no rule at all, compares exactly as the comparisons always have.
struct RuleChoice {
    // Two lines (or words) that differ only by kinds of this set, one or several together, are
    // equal; each kind is removed as LookalikeForms.h says, so that a pair the look-alike
    // explainer names by a kind is equal under a rule of that kind.
    LookalikeKinds kinds;
    // A line in which this expression finds a match is never a difference, in either direction.
    std::optional<std::u16string> ignoreMatching;
    // Inside each line every match of each of these, in turn, stands for one placeholder.
    std::vector<std::u16string> masks;

    bool Any() const { return !kinds.Empty() || ignoreMatching.has_value() || !masks.empty(); }
    friend bool operator==(const RuleChoice&, const RuleChoice&) = default;
};

// A choice of rules made ready to compare with: its expressions compiled once, checked before
// any work starts. Copies share the compiled expressions; every thread that compares makes its
// own RuleText from it (RuleText.h).
class ComparisonRules {
public:
    ComparisonRules() = default; // no rule
    // Throws RuleError for the first expression that cannot be used, ignore-matching first and
    // then the masks in order.
    explicit ComparisonRules(RuleChoice choice);

    const RuleChoice& Choice() const { return choice_; }
    bool Any() const { return choice_.Any(); }
    LookalikeKinds Kinds() const { return choice_.kinds; }
    bool HasMasks() const { return !masks_.empty(); }
    bool HasIgnoreMatching() const { return ignoreMatching_.has_value(); }
    // Whether two lines or words that are not the same may be equal: what needs keys and forms.
    bool MakesEqual() const { return !choice_.kinds.Empty() || HasMasks(); }

    const std::optional<RuleExpression>& IgnoreMatching() const { return ignoreMatching_; }
    const std::vector<RuleExpression>& Masks() const { return masks_; }

    // The compiled expressions follow from the choice.
    friend bool operator==(const ComparisonRules& one, const ComparisonRules& two) {
        return one.choice_ == two.choice_;
    }

private:
    RuleChoice choice_;
    std::optional<RuleExpression> ignoreMatching_;
    std::vector<RuleExpression> masks_;
};

} // namespace compare
