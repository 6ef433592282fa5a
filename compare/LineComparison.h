#pragma once

#include "compare/LineIndex.h"
#include "compare/Lines.h"

#include <string>
#include <string_view>
#include <vector>

namespace compare {

// The pieces of `own` (cut at CR) whose content `other` lacks, in order.
std::vector<Piece> FindMissingPieces(std::u16string_view own, std::u16string_view other);

// How a missing piece is listed: the piece as cut, then one CR.
void AppendListEntry(std::u16string& list, std::u16string_view own, Piece piece);

// What is coloured for a missing piece: the piece and the CR that ends it, if one does.
inline Piece MarkedSpan(std::u16string_view own, Piece piece) {
    return {piece.start, piece.length + (piece.start + piece.length < own.size() ? 1 : 0)};
}

} // namespace compare
