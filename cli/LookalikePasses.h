#pragma once

#include "cli/SideReport.h"

#include "compare/ComparisonRules.h"
#include "compare/LineIndex.h"
#include "compare/LinesUnderRules.h"
#include "compare/LookalikeLines.h"
#include "compare/RuleMatch.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

// Passes for --explain: each entry that looks like a piece of the other text is followed by that
// look-alike (EntrySink::Lookalike). They need both texts held: a red line's look-alike may be
// any line of the other text.

// One direction of the word comparison of `own` against `other`, with the look-alike in its
// partner line of each red word that has one.
Pass WordsWithLookalikes(std::u16string_view own, std::u16string_view other);

// One side's red lines, in order, and the look-alike of each in the other text; under rules also
// every line the other text lacks as it stands, sorted out by the rules (whose red ones `red`
// holds).
struct RedLines {
    std::vector<compare::Piece> red;
    std::vector<std::optional<compare::LineLookalike>> lookalikes;
    std::optional<compare::LinesUnderRules> underRules;
};

// The red lines of both texts, the two directions side by side; their look-alikes not yet.
std::array<RedLines, 2> FindRedLines(const compare::LineIndex& first,
                                     const compare::LineIndex& second);

// About what looking for the look-alikes of these red lines holds, in bytes, at most: each red
// line keyed, its candidates and what is found for it.
qint64 LookalikeSearchBytes(const std::array<RedLines, 2>& red);

// Fills in the red lines' look-alikes.
void FindLookalikeLines(std::array<RedLines, 2>& red, const compare::LineIndex& first,
                        const compare::LineIndex& second);

// One side's red lines as entries, each followed by its look-alike, if it was looked for, and the
// lines only the rules match among them, with the rules that matched each when `nameRules`.
// `side`, `other` and `rules` must outlive the pass.
Pass LinesWithLookalikes(const RedLines& side, std::u16string_view own,
                         const compare::LineIndex& other, const compare::ComparisonRules& rules,
                         bool nameRules);
