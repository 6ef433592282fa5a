#pragma once

#include "cli/ByteLineTable.h"
#include "cli/ByteLines.h"

#include "compare/LookalikeKinds.h"

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// A missing piece's look-alike: a piece of the other text and what sets the two apart.
struct ByteLookalike {
    std::uint32_t piece; // in the other text; its line number is one more
    compare::LookalikeKinds kinds;

    friend bool operator==(const ByteLookalike&, const ByteLookalike&) = default;
};

// Each missing piece's look-alike, if it has one, in the order of the missing pieces.
using ByteLookalikes = std::vector<std::optional<ByteLookalike>>;

// One text as the search needs it: its pieces, the table of their contents, and the pieces the
// other text lacks, in order.
struct ByteLookalikeText {
    const ByteLines& lines;
    const ByteLineTable& table;
    const std::vector<std::uint32_t>& missing;
};

// The look-alikes of the missing pieces of both texts: for each missing piece, the first piece of
// the other text whose content looks like its content, as the comparison of decoded texts finds
// it (compare::FindLookalikeLines). The lines are sieved on their bytes by the sum of their loose
// key, and only the missing pieces and the lines that share a sum with one of them are decoded and
// searched: most lines are never decoded. Only the first text is read in full, half on each of two
// threads: a line of the second that the first has stands in for that line of the second, and the
// second's missing pieces for themselves. Nothing, having found nothing, when the search would take
// more than `room` bytes.
std::optional<std::array<ByteLookalikes, 2>>
FindByteLookalikes(const ByteLookalikeText& first, const ByteLookalikeText& second, qint64 room);
