#pragma once

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

// The look-alikes of the missing pieces of both texts, the two directions side by side: for each
// missing piece, the first piece of the other text whose content looks like its content, as the
// comparison of decoded texts finds it (compare::FindLookalikeLines). Every line of the other text
// is sieved on its bytes by the sum of its loose key, and only the missing pieces and the lines
// that share a sum with one of them are decoded and searched: most lines are never decoded.
// Nothing, having found nothing, when the search would take more than `room` bytes.
std::optional<std::array<ByteLookalikes, 2>>
FindByteLookalikes(const ByteLines& first, const std::vector<std::uint32_t>& missingOfFirst,
                   const ByteLines& second, const std::vector<std::uint32_t>& missingOfSecond,
                   qint64 room);
