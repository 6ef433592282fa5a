#pragma once

#include "compare/LineBreakUnits.h"

#include <cstddef>
#include <string_view>

namespace compare {

// A piece of a text cut at CR: `length` units from `start`, followed by a CR unless it is the last.
struct Piece {
    std::size_t start = 0;
    std::size_t length = 0;

    friend bool operator==(const Piece&, const Piece&) = default;
};

// What is coloured for a missing piece: the piece and the CR that ends it, if one does.
inline Piece MarkedSpan(std::u16string_view own, Piece piece) {
    return {piece.start, piece.length + (piece.start + piece.length < own.size() ? 1 : 0)};
}

// A line's content: its piece without the one LF that cutting CR LF text at CR leaves in front.
inline std::u16string_view LineContent(std::u16string_view piece) {
    return !piece.empty() && piece.front() == kLF ? piece.substr(1) : piece;
}

} // namespace compare
