#pragma once

#include "compare/LineIndex.h"
#include "compare/Lines.h"
#include "compare/LookalikeKinds.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace compare {

// A line of the other text that a red line of the line comparison looks like.
struct LineLookalike {
    Piece piece;      // the look-alike in the other text, as cut at CR (leading LF included)
    std::size_t line; // its line number there, from 1
    LookalikeKinds kinds;

    friend bool operator==(const LineLookalike&, const LineLookalike&) = default;
};

// For each red piece of `own` (in the order given), the first line of `other` in text order whose
// content is a look-alike of the piece's content (see Lookalike.h), or nothing. Lines compare by
// their content, as in the line comparison: without the LF that cutting CR LF text at CR leaves in
// front. The red pieces are keyed once (LooseKey.h) and gathered by key, and `other` is read
// once, each of its lines sieved by a sum of its key and the few that pass looked up among them.
// Look-alikes always share their key, so only lines that share a red piece's key are checked,
// and every one of them is: however many lines share a key without being look-alikes, none hides
// the look-alike behind them (see FindFirstLookalikes for how the time stays in proportion).
std::vector<std::optional<LineLookalike>>
FindLookalikeLines(std::u16string_view own, std::span<const Piece> red, const LineIndex& other);

// Lines longer than this, red or searched, are passed over: no one reads a line of a quarter of a
// million characters closely enough to miss an invisible difference, and keying one would take
// several times its size.
inline constexpr std::size_t kLongestLookalikeLine = std::size_t{1} << 18;

// Both directions at once, each on its own thread.
struct LookalikeLinesOfBoth {
    std::vector<std::optional<LineLookalike>> ofFirst;  // for the red pieces of the first text
    std::vector<std::optional<LineLookalike>> ofSecond; // for those of the second
};
LookalikeLinesOfBoth FindLookalikeLinesOfBoth(const LineIndex& first,
                                              std::span<const Piece> redOfFirst,
                                              const LineIndex& second,
                                              std::span<const Piece> redOfSecond);

} // namespace compare
