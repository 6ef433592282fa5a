#pragma once

#include "compare/ComparisonRules.h"
#include "compare/LineIndex.h"
#include "compare/Lines.h"
#include "compare/RuleMatch.h"

#include <array>
#include <cstddef>
#include <functional>
#include <span>
#include <vector>

namespace compare {

// What one direction of the line comparison finds under rules, each list in text order: the
// pieces the other text lacks even under the rules (the red ones), and those that are no
// difference only because of a rule. A piece the other text has as it stands is in neither.
struct LinesUnderRules {
    std::vector<Piece> red;
    std::vector<RuleMatch> matched; // start, length: the piece as cut at CR, without its CR
    bool stopped = false;           // told to stop before the end: both lists are short
};

// Is asked now and then whether to go on; false stops the work where it stands.
using KeepGoing = std::function<bool()>;

// One direction under the rules: sorts `missing`, the pieces of `own` that `other` lacks as they
// stand (own.MissingIn(other)), into red and matched. A piece is matched when its key under the
// rules (RuleText::Key) is the key of a line of `other`, which it is then said to match: the
// first such line in text order. Otherwise it is matched when the ignore-matching expression
// finds a match in it, and red when not. With no rule it gives `missing` back as red.
//
// Only the keys of the missing pieces are kept, one of each, with a table over them; `other` is
// read once, each of its lines keyed and looked up, until each key has found its line. Costs
// beside the texts about MissingKeyBytes.
LinesUnderRules SortOutMissingLines(const LineIndex& own, std::span<const Piece> missing,
                                    const LineIndex& other, const ComparisonRules& rules,
                                    const KeepGoing& keepGoing = {});

// What SortOutMissingLines holds at most for missing pieces of `units` units in all, in bytes.
inline std::size_t MissingKeyBytes(std::size_t pieces, std::size_t units) {
    // A key can be longer than its line (a ligature's compatibility form, a skeleton); lines are
    // mostly what they were.
    return pieces * 48 + units * 2 * sizeof(char16_t);
}

// Both directions of the line comparison under the rules, side by side on two threads: the
// pieces each text lacks as they stand, and then each direction sorted out as above. With no rule
// the red lists are the line comparison's own.
std::array<LinesUnderRules, 2> CompareLinesUnderRules(const LineIndex& first,
                                                      const LineIndex& second,
                                                      const ComparisonRules& rules,
                                                      const KeepGoing& keepGoing = {});

} // namespace compare
