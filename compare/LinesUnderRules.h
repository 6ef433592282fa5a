#pragma once

#include "compare/ComparisonRules.h"
#include "compare/LineIndex.h"
#include "compare/Lines.h"
#include "compare/RuleMatch.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace compare {

// What one direction of the line comparison finds under rules: the pieces of the own text that
// the other text lacks as they stand (as LineIndex::MissingIn gives them, in order), and for each
// whether the rules leave it red, or matched it to a line of the other text, or the
// ignore-matching expression found a match in it. A piece the other text has as it stands is no
// difference and not listed. Takes 20 bytes a missing piece.
class LinesUnderRules {
public:
    static constexpr std::uint32_t kRed = ~std::uint32_t{0};
    static constexpr std::uint32_t kIgnored = kRed - 1;

    LinesUnderRules() = default;
    LinesUnderRules(std::vector<Piece> missing, std::vector<std::uint32_t> outcomes)
        : missing_(std::move(missing)), outcomes_(std::move(outcomes)) {}

    std::size_t MissingCount() const { return missing_.size(); }
    Piece Missing(std::size_t i) const { return missing_[i]; }
    // kRed, kIgnored, or the piece of the other text it matched (the first with its key).
    std::uint32_t Outcome(std::size_t i) const { return outcomes_[i]; }

    // Calls red(Piece) for each red piece and matched(RuleMatch) for each piece that is no
    // difference only because of a rule (start, length: the piece as cut at CR, without its CR),
    // in text order. `other` is the index of the other text.
    template <typename Red, typename Matched>
    void ForEach(const LineIndex& other, Red&& red, Matched&& matched) const {
        for (std::size_t i = 0; i < missing_.size(); ++i) {
            const Piece piece = missing_[i];
            const std::uint32_t outcome = outcomes_[i];
            if (outcome == kRed) {
                red(piece);
            } else if (outcome == kIgnored) {
                matched(RuleMatch{piece.start, piece.length, true});
            } else {
                const Piece line = other.PieceAt(outcome);
                matched(RuleMatch{piece.start, piece.length, false, line.start, line.length,
                                  outcome + std::size_t{1}});
            }
        }
    }
    // The red pieces alone, in order.
    std::vector<Piece> Red() const;

    bool stopped = false; // told to stop before the end: what is there is not all

private:
    std::vector<Piece> missing_;
    std::vector<std::uint32_t> outcomes_;
};

// Is asked now and then whether to go on; false stops the work where it stands.
using KeepGoing = std::function<bool()>;

// One direction under the rules: sorts `missing`, the pieces of `own` that `other` lacks as they
// stand (own.MissingIn(other)). A piece is matched when its key under the rules (RuleText::Key)
// is the key of a line of `other`, which it is then said to match: the first such line in text
// order. Otherwise it is ignored when the ignore-matching expression finds a match in it, and red
// when not. With no rule every one is red.
//
// The keys of the missing pieces are gathered in a table, one of each, that keeps no key: a key
// is made again from its line to tell two with one hash apart. `other` is read once, each of its
// lines keyed and looked up, until each key has found its line. The table takes at most
// kMissingKeyBytes a missing piece, and the longest line's key; where there is room for the keys
// of `mostAtOnce` pieces only, they are sorted out that many at a time, `other` read once for
// each batch.
LinesUnderRules SortOutMissingLines(const LineIndex& own, std::vector<Piece> missing,
                                    const LineIndex& other, const ComparisonRules& rules,
                                    const KeepGoing& keepGoing = {},
                                    std::size_t mostAtOnce = std::size_t(-1));

inline constexpr std::size_t kMissingKeyBytes = 32;
// What the result takes a missing piece.
inline constexpr std::size_t kSortedOutBytes = sizeof(Piece) + sizeof(std::uint32_t);

// Both directions of the line comparison under the rules on two threads: the pieces each text
// lacks as they stand, and then both directions sorted out as above from one read of the second
// text, in two halves, so that a line both texts hold is keyed once. Where the keys of all the
// missing pieces of a direction do not fit `mostAtOnce`, each direction is sorted out on its own
// as above, a batch at a time.
std::array<LinesUnderRules, 2> CompareLinesUnderRules(const LineIndex& first,
                                                      const LineIndex& second,
                                                      const ComparisonRules& rules,
                                                      const KeepGoing& keepGoing = {},
                                                      std::size_t mostAtOnce = std::size_t(-1));
// The same for pieces each text lacks as they stand, found already.
std::array<LinesUnderRules, 2> SortOutBoth(const LineIndex& first, std::vector<Piece> ofFirst,
                                           const LineIndex& second, std::vector<Piece> ofSecond,
                                           const ComparisonRules& rules,
                                           const KeepGoing& keepGoing = {},
                                           std::size_t mostAtOnce = std::size_t(-1));

} // namespace compare
