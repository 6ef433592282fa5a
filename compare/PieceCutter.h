#pragma once

#include "compare/FindUnit.h"
#include "compare/Lines.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace compare {

// Cuts a text that arrives a chunk at a time at every CR, as LineIndex cuts a whole one. A piece
// that spans chunks is gathered in a buffer, so that what is kept grows with the longest line.
class PieceCutter {
public:
    // Calls piece(std::u16string_view piece, Piece place, bool endsWithCR) for each piece that
    // `chunk` completes, in order; `place` is where the piece stands in the whole text.
    template <typename Each> void Add(std::u16string_view chunk, Each&& piece) {
        std::size_t from = 0;
        for (std::size_t cr = FindUnit(chunk, kCR, 0); cr < chunk.size();
             cr = FindUnit(chunk, kCR, from)) {
            std::u16string_view whole = chunk.substr(from, cr - from);
            if (!carry_.empty()) {
                carry_.append(whole);
                whole = carry_;
            }
            piece(whole, Piece{start_, whole.size()}, true);
            start_ += whole.size() + 1;
            carry_.clear();
            from = cr + 1;
        }
        carry_.append(chunk.substr(from));
        seen_ = seen_ || !chunk.empty();
    }

    // The piece after the last CR, which no CR ends: there is one unless the text is empty.
    template <typename Each> void End(Each&& piece) {
        if (seen_)
            piece(std::u16string_view(carry_), Piece{start_, carry_.size()}, false);
        carry_.clear();
    }

private:
    std::u16string carry_;
    std::size_t start_ = 0; // where the piece being gathered begins in the whole text
    bool seen_ = false;
};

} // namespace compare
