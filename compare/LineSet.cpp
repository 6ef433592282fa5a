#include "compare/LineSet.h"

#include "compare/Lines.h"

#include <bit>
#include <functional>
#include <stdexcept>

namespace compare {

namespace {

std::size_t HashOf(std::u16string_view content) {
    return std::hash<std::u16string_view>{}(content);
}

std::uint32_t TagOf(std::size_t hash) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(hash) >> 32) | 1u;
}

} // namespace

LineSet::LineSet(std::u16string_view text) : text_(text) {
    ForEachPieceAtCR(text, [this](Piece piece) { starts_.push_back(piece.start); });
    starts_.push_back(text.size() + 1); // as if a CR followed the last piece
    const std::size_t pieces = starts_.size() - 1;
    if (pieces >= UINT32_MAX)
        throw std::length_error("too many lines");
    slots_.resize(std::bit_ceil(std::max<std::size_t>(2 * pieces, 16)));
    mask_ = slots_.size() - 1;
    for (std::uint32_t piece = 1; piece <= pieces; ++piece)
        distinct_ += Insert(piece) ? 1 : 0;
}

std::u16string_view LineSet::Content(std::uint32_t piece) const {
    const std::size_t start = starts_[piece - 1];
    return LineContent(text_.substr(start, starts_[piece] - 1 - start));
}

bool LineSet::Insert(std::uint32_t piece) {
    const std::u16string_view content = Content(piece);
    const std::size_t hash = HashOf(content);
    const std::uint32_t tag = TagOf(hash);
    for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
        Slot& slot = slots_[i];
        if (slot.piece == 0) {
            slot = {tag, piece};
            return true;
        }
        if (slot.tag == tag && Content(slot.piece) == content)
            return false;
    }
}

bool LineSet::Contains(std::u16string_view content) const {
    const std::size_t hash = HashOf(content);
    const std::uint32_t tag = TagOf(hash);
    for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
        const Slot& slot = slots_[i];
        if (slot.piece == 0)
            return false;
        if (slot.tag == tag && Content(slot.piece) == content)
            return true;
    }
}

} // namespace compare
