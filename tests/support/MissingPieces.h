#pragma once

#include "compare/LineIndex.h"

#include <string_view>
#include <vector>

// The pieces of `own` whose content `other` lacks, in order, found as the program finds them: both
// texts indexed, and the pieces of one looked up in the other.
inline std::vector<compare::Piece> MissingPieces(std::u16string_view own,
                                                 std::u16string_view other) {
    const compare::LineIndex ownIndex(own);
    const compare::LineIndex otherIndex(other);
    std::vector<compare::Piece> missing;
    ownIndex.ForEachMissingIn(otherIndex, 0, ownIndex.PieceCount(),
                              [&](compare::Piece piece) { missing.push_back(piece); });
    return missing;
}
