#include "compare/LineComparison.h"

namespace compare {

std::vector<Piece> FindMissingPieces(std::u16string_view own, std::u16string_view other) {
    const LineIndex ownIndex(own);
    const LineIndex otherIndex(other);
    std::vector<Piece> missing;
    ownIndex.ForEachMissingIn(otherIndex, 0, ownIndex.PieceCount(),
                              [&](Piece piece) { missing.push_back(piece); });
    return missing;
}

void AppendListEntry(std::u16string& list, std::u16string_view own, Piece piece) {
    list.append(own.substr(piece.start, piece.length));
    list.push_back(kCR);
}

} // namespace compare
