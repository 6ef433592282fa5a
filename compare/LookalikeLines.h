#pragma once

#include "compare/LineIndex.h"
#include "compare/Lines.h"
#include "compare/LookalikeKinds.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace compare {

// A line of the other text that a red line of the line comparison looks like.
struct LineLookalike {
    Piece piece;      // the look-alike in the other text, as cut at CR (leading LF included)
    std::size_t line; // its line number there, from 1
    LookalikeKinds kinds;

    friend bool operator==(const LineLookalike&, const LineLookalike&) = default;
};

// One text's lines under their loose keys (LooseKey.h), for finding the look-alikes of another
// text's lines. Lines compare by their content, as in the line comparison: without the LF that
// cutting CR LF text at CR leaves in front. Refers into `lines`, which must outlive it.
class LookalikeLineIndex {
public:
    explicit LookalikeLineIndex(const LineIndex& lines);

    // The first line of this text whose content is a look-alike of `content`, with the kinds
    // that name it. Looks at no more than kMostCandidates distinct lines that share its loose key,
    // and at no more than kMostSteps lines in all.
    std::optional<LineLookalike> Find(std::u16string_view content, std::u16string& scratch) const;

    static constexpr std::size_t kMostCandidates = 32;
    static constexpr std::size_t kMostSteps = 4096;

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t first = 0; // the first line with this hash, plus one; 0 marks an empty slot
    };

    std::u16string_view Content(std::size_t piece) const;
    void Build();

    const LineIndex& lines_;
    std::vector<Slot> slots_;         // open addressing, linear probing, at most about 2/3 full
    std::vector<std::uint32_t> next_; // the next line with the same hash, plus one
    std::size_t mask_ = 0;
};

// For each red piece of `own` (in the order given), its look-alike in the text `other` indexes.
std::vector<std::optional<LineLookalike>> FindLookalikeLines(std::u16string_view own,
                                                             std::span<const Piece> red,
                                                             const LookalikeLineIndex& other);

// Both directions at once, each text indexed and each direction searched on its own thread.
struct LookalikeLinesOfBoth {
    std::vector<std::optional<LineLookalike>> ofFirst;  // for the red pieces of the first text
    std::vector<std::optional<LineLookalike>> ofSecond; // for those of the second
};
LookalikeLinesOfBoth FindLookalikeLinesOfBoth(const LineIndex& first,
                                              std::span<const Piece> redOfFirst,
                                              const LineIndex& second,
                                              std::span<const Piece> redOfSecond);

} // namespace compare
