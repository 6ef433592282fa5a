#pragma once

#include "cli/LookalikePasses.h"
#include "cli/RuleMatchSinks.h"
#include "cli/SideReport.h"

#include "compare/ComparisonRules.h"
#include "compare/LineIndex.h"
#include "compare/RuleMatch.h"
#include "compare/RuleText.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>

// Passes under the rules a user chose (ComparisonRules): the red entries as ever, and among them,
// in text order, the lines or words that only the rules match (EntrySink::Matched). Which rules
// made each match is worked out only when `nameRules` (--explain, --json): it takes the
// look-alike explainer for each.

// The rules behind a match of a line or word `own` to `other`, both as they stand.
compare::MatchedRules RulesOfMatch(const compare::RuleMatch& match, std::u16string_view own,
                                   std::u16string_view other, compare::RuleText* text);

// Hands a line that only the rules match to a sink, as the report gives it.
class LineMatch {
public:
    LineMatch(std::u16string_view own, std::u16string_view other,
              const compare::ComparisonRules& rules, bool nameRules);
    void operator()(const compare::RuleMatch& match, EntrySink& sink);

private:
    std::u16string_view own_;
    std::u16string_view other_;
    std::optional<compare::RuleText> text_;
};

// The red lines of both texts under the rules, the two directions side by side, with the lines
// only the rules match; their look-alikes not yet. The keys of the lines either lacks as they
// stand are gathered in what `room` can take for them, a batch at a time when not all at once.
std::array<RedLines, 2> FindRedLinesUnderRules(const compare::LineIndex& first,
                                               const compare::LineIndex& second,
                                               const compare::ComparisonRules& rules,
                                               KeptRoom& room);

// One direction of the word comparison under the rules, with the look-alike in its partner line of
// each red word that has one when `lookalikes`.
Pass WordsUnderRules(std::u16string_view own, std::u16string_view other,
                     const compare::ComparisonRules& rules, bool nameRules, bool lookalikes);
