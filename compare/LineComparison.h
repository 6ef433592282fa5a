#pragma once

#include "compare/LineSet.h"
#include "compare/Lines.h"

#include <string>
#include <string_view>
#include <vector>

namespace compare {

// Walks the pieces of one text (cut at CR) and reports those whose content the other text lacks,
// a slice at a time so that the caller can let the window breathe in between.
class MissingLineScan {
public:
    MissingLineScan(std::u16string_view own, const LineSet& other) : own_(own), other_(other) {}

    // Looks at up to `budget` more pieces, calling `missing(Piece)` for each one absent from the
    // other text. Returns false once the last piece has been looked at.
    template <typename Missing> bool Scan(std::size_t budget, Missing&& missing);

private:
    std::u16string_view own_;
    const LineSet& other_;
    std::size_t next_ = 0; // start of the next piece
    bool done_ = false;
};

// The whole scan in one go.
std::vector<Piece> FindMissingPieces(std::u16string_view own, std::u16string_view other);

// How a missing piece is listed: the piece as cut, then one CR.
void AppendListEntry(std::u16string& list, std::u16string_view own, Piece piece);

// What is coloured for a missing piece: the piece and the CR that ends it, if one does.
inline Piece MarkedSpan(std::u16string_view own, Piece piece) {
    return {piece.start, piece.length + (piece.start + piece.length < own.size() ? 1 : 0)};
}

template <typename Missing> bool MissingLineScan::Scan(std::size_t budget, Missing&& missing) {
    for (; budget > 0 && !done_; --budget) {
        if (own_.empty()) {
            done_ = true;
            break;
        }
        const std::size_t cr = own_.find(kCR, next_);
        const std::size_t end = cr == std::u16string_view::npos ? own_.size() : cr;
        const Piece piece{next_, end - next_};
        if (!other_.Contains(LineContent(own_.substr(piece.start, piece.length))))
            missing(piece);
        done_ = cr == std::u16string_view::npos;
        next_ = end + 1;
    }
    return !done_;
}

} // namespace compare
