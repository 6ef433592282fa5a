#include "compare/LineIndex.h"

#include "compare/ContentHash.h"
#include "compare/FindUnit.h"
#include "compare/LineWords.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace compare {

namespace {

bool SameUnits(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

} // namespace

std::size_t LineIndex::CountPieces(std::u16string_view text) {
    return text.empty() ? 0 : CountUnit(text, kCR, 0, text.size()) + 1;
}

LineIndex::LineIndex(std::u16string_view text, std::size_t pieces) : text_(text) {
    if (text.size() >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("The text is too large to compare by lines");
    Cut(pieces);
    BuildTable();
}

std::u16string_view LineIndex::Content(std::size_t piece) const {
    const Piece cut = PieceAt(piece);
    return LineContent(text_.substr(cut.start, cut.length));
}

std::size_t LineIndex::MemoryBytes() const {
    return (starts_.capacity() + hashes_.capacity() + slots_.capacity()) * sizeof(std::uint32_t);
}

// One pass over the text: each piece is hashed as soon as its CR is found, while it is still in
// the cache. The pieces are counted first, so that nothing is allocated twice.
void LineIndex::Cut(std::size_t pieces) {
    starts_.reserve(pieces + 1);
    hashes_.reserve(pieces);
    if (!text_.empty()) {
        const auto size = static_cast<std::uint32_t>(text_.size());
        for (std::uint32_t start = 0;;) {
            const std::uint32_t cr = static_cast<std::uint32_t>(FindUnit(text_, kCR, start));
            starts_.push_back(start);
            hashes_.push_back(ContentHash(LineContent(text_.substr(start, cr - start))));
            if (cr == size)
                break;
            start = cr + 1;
        }
    }
    starts_.push_back(static_cast<std::uint32_t>(text_.size() + 1)); // as if a CR ended the text
}

void LineIndex::BuildTable() {
    const std::size_t pieces = PieceCount();
    slots_.assign(std::max<std::size_t>(16, pieces + pieces * 2 / 3 + 1), 0);
    pieceBits_ = static_cast<int>(std::bit_width(pieces));
    pieceMask_ = pieceBits_ >= 32 ? ~std::uint32_t{0} : (std::uint32_t{1} << pieceBits_) - 1;
    tagMask_ = pieceBits_ >= 32 ? 0 : ~std::uint32_t{0} >> pieceBits_;
    constexpr std::size_t kAhead = 16;
    for (std::size_t piece = 0; piece < pieces; ++piece) {
        if (piece + kAhead < pieces)
            TARNWICK_PREFETCH(&slots_[HomeSlot(hashes_[piece + kAhead])]);
        const std::uint32_t hash = hashes_[piece];
        const std::uint32_t tag = Tag(hash);
        const std::u16string_view content = Content(piece);
        for (std::size_t i = HomeSlot(hash);; i = NextSlot(i)) {
            const std::uint32_t slot = slots_[i];
            if (slot == 0) {
                slots_[i] = (tag << (pieceBits_ % 32)) | static_cast<std::uint32_t>(piece + 1);
                ++distinct_;
                break;
            }
            const std::uint32_t named = slot & pieceMask_;
            if (((slot >> (pieceBits_ % 32)) & tagMask_) == tag && hashes_[named - 1] == hash &&
                SameUnits(Content(named - 1), content))
                break; // a repeated line
        }
    }
}

bool LineIndex::Contains(std::u16string_view content) const {
    return Contains(content, ContentHash(content));
}

std::uint32_t LineIndex::Find(std::u16string_view content, std::uint32_t hash) const {
    const std::uint32_t tag = Tag(hash);
    for (std::size_t i = HomeSlot(hash);; i = NextSlot(i)) {
        const std::uint32_t slot = slots_[i];
        if (slot == 0)
            return 0;
        if (((slot >> (pieceBits_ % 32)) & tagMask_) == tag &&
            SameUnits(Content((slot & pieceMask_) - 1), content))
            return slot & pieceMask_;
    }
}

std::optional<std::size_t> LineIndex::FirstPieceWith(std::u16string_view content) const {
    // Pieces enter the table in order and a repeat never does, so a slot names the first piece.
    if (const std::uint32_t named = Find(content, ContentHash(content)); named != 0)
        return named - 1;
    return std::nullopt;
}

std::size_t LineIndex::PieceStartingAt(std::size_t start) const {
    return static_cast<std::size_t>(std::lower_bound(starts_.begin(), starts_.end() - 1, start) -
                                    starts_.begin());
}

} // namespace compare
