#include "compare/LineIndex.h"

#include "compare/ContentHash.h"
#include "compare/FindUnit.h"

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

LineIndex::LineIndex(std::u16string_view text) : text_(text) {
    if (text.size() >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("The text is too large to compare by lines");
    Cut();
    BuildTable();
}

std::u16string_view LineIndex::Content(std::size_t piece) const {
    const Piece cut = PieceAt(piece);
    return LineContent(text_.substr(cut.start, cut.length));
}

// One pass over the text: each piece is hashed as soon as its CR is found, while it is still in
// the cache.
void LineIndex::Cut() {
    starts_.reserve(text_.size() / 32 + 2);
    hashes_.reserve(text_.size() / 32 + 2);
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
    slots_.assign(std::bit_ceil(std::max<std::size_t>(2 * pieces, 16)), Slot{});
    mask_ = slots_.size() - 1;
    constexpr std::size_t kAhead = 16;
    for (std::size_t piece = 0; piece < pieces; ++piece) {
        if (piece + kAhead < pieces)
            TARNWICK_PREFETCH(&HomeSlot(hashes_[piece + kAhead]));
        const std::uint32_t hash = hashes_[piece];
        const std::u16string_view content = Content(piece);
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.piece == 0) {
                slot = {hash, static_cast<std::uint32_t>(piece + 1)};
                ++distinct_;
                break;
            }
            if (slot.hash == hash && SameUnits(Content(slot.piece - 1), content))
                break; // a repeated line
        }
    }
}

bool LineIndex::Contains(std::u16string_view content) const {
    return Contains(content, ContentHash(content));
}

const LineIndex::Slot* LineIndex::Find(std::u16string_view content, std::uint32_t hash) const {
    for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
        const Slot& slot = slots_[i];
        if (slot.piece == 0)
            return nullptr;
        if (slot.hash == hash && SameUnits(Content(slot.piece - 1), content))
            return &slot;
    }
}

std::optional<std::size_t> LineIndex::FirstPieceWith(std::u16string_view content) const {
    // Pieces enter the table in order, so a slot names the first piece with its content.
    if (const Slot* slot = Find(content, ContentHash(content)))
        return slot->piece - 1;
    return std::nullopt;
}

std::size_t LineIndex::PieceStartingAt(std::size_t start) const {
    return static_cast<std::size_t>(std::lower_bound(starts_.begin(), starts_.end() - 1, start) -
                                    starts_.begin());
}

} // namespace compare
