#pragma once

#include <cstddef>
#include <string_view>

namespace compare {

inline constexpr char16_t kCR = u'\r';
inline constexpr char16_t kLF = u'\n';

// A piece of a text cut at CR: `length` units from `start`, followed by a CR unless it is the last.
struct Piece {
    std::size_t start = 0;
    std::size_t length = 0;
};

// Calls `visit(Piece)` for each piece of `text` cut at every CR, in order. An empty text has no
// pieces; a text without CR is one piece; a text ending in CR has an empty last piece.
template <typename Visit> void ForEachPieceAtCR(std::u16string_view text, Visit&& visit) {
    if (text.empty())
        return;
    std::size_t start = 0;
    for (;;) {
        const std::size_t cr = text.find(kCR, start);
        if (cr == std::u16string_view::npos) {
            visit(Piece{start, text.size() - start});
            return;
        }
        visit(Piece{start, cr - start});
        start = cr + 1;
    }
}

// A line's content: its piece without the one LF that cutting CR LF text at CR leaves in front.
inline std::u16string_view LineContent(std::u16string_view piece) {
    return !piece.empty() && piece.front() == kLF ? piece.substr(1) : piece;
}

} // namespace compare
