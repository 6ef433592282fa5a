#pragma once

#include "compare/LookalikeKinds.h"
#include "compare/RuleText.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace compare {

// A line or a word that is no difference only because of a rule: the other text does not have it
// as it stands, but the rules made it equal to a line of the other text (a word of its partner
// line), or the ignore-matching expression found a match in its line.
struct RuleMatch {
    // The line (as cut at CR, without its CR) or the word, in its own text.
    std::size_t start = 0;
    std::size_t length = 0;
    // The ignore-matching expression found a match in its line; it matched nothing, and the
    // fields below are not set.
    bool ignored = false;
    // What it matched in the other text, the same way, and that one's line there, from 1.
    std::size_t otherStart = 0;
    std::size_t otherLength = 0;
    std::size_t otherLine = 0;

    friend bool operator==(const RuleMatch&, const RuleMatch&) = default;
};

// Which of the rules made a match.
struct MatchedRules {
    LookalikeKinds kinds;
    bool mask = false;
    bool ignoreMatching = false;

    friend bool operator==(const MatchedRules&, const MatchedRules&) = default;
};

// The rules' names, as the command line gives them: the kinds in list order, then "mask", then
// "ignore-matching".
std::vector<std::string_view> MatchedRuleNames(const MatchedRules& rules);

// The fewest of the rules of `text` that make `own` equal to `other`, two lines' contents or two
// words that the rules made equal, found with the look-alike explainer over the kinds of the rules
// alone (see ExplainLookalikeWithin): those kinds when they do it without the masks, otherwise
// "mask" and whatever kinds the masked texts still need. A word is masked on its own, which for
// an expression that looks beyond the word (^, \b, look-around) may not be as it was in its line:
// then all the kinds of the rules are named with "mask".
MatchedRules ExplainRuleMatch(RuleText& text, std::u16string_view own, std::u16string_view other);

} // namespace compare
