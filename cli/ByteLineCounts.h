#pragma once

#include "cli/ByteLineTable.h"
#include "cli/ByteLines.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// A line that both texts hold a different number of times, told at its first piece in one of
// them, with how often each text holds it.
struct ByteCountedLine {
    std::uint64_t piece; // while the lines are counted, where that piece's content starts
    std::uint32_t here;
    std::uint32_t there;
};

// One text as counting takes it: its pieces, the table of its contents, and the pieces whose
// content an earlier piece has, as the table gave them (counting sorts them).
struct CountedText {
    const ByteLines& lines;
    const ByteLineTable& table;
    std::vector<std::uint64_t>& repeats;
};

// The lines that both texts hold a different number of times, each text's in the order of their
// first pieces, counted as the decoded texts' lines are: what follows a text's last line break
// is no line, and a line that one text lacks is a difference already. Contents are equal when
// their bytes are. `appendedCR`: the texts are AsLoaded.
std::array<std::vector<ByteCountedLine>, 2> CountByteLines(CountedText first, CountedText second,
                                                           bool appendedCR);

// What counting takes at most, a piece of either text: its place in the repeats, and, for the
// repeated contents (at most one a piece), what is found in each direction and then merged.
constexpr std::size_t kCountBytesPerPiece = sizeof(std::uint64_t) + 2 * sizeof(ByteCountedLine);
