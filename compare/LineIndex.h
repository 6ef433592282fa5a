#pragma once

#include "compare/Lines.h"
#include "compare/Prefetch.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace compare {

// A text cut at CR once, each piece's content hashed once, and a hash table over the distinct
// contents: everything both directions of a line comparison need of one text. A piece's content
// is the piece without the one LF that cutting CR LF text at CR leaves at its front, so the same
// line reads the same wherever it stands. Refers into the text, which must outlive it.
class LineIndex {
public:
    // Throws std::length_error for a text of 2^32 units or more.
    explicit LineIndex(std::u16string_view text);

    std::u16string_view Text() const { return text_; }
    std::size_t PieceCount() const { return starts_.size() - 1; }
    Piece PieceAt(std::size_t piece) const {
        return {starts_[piece], starts_[piece + 1] - 1 - starts_[piece]};
    }
    std::size_t DistinctCount() const { return distinct_; }
    bool Contains(std::u16string_view content) const;
    // The first piece whose content is `content`, if any.
    std::optional<std::size_t> FirstPieceWith(std::u16string_view content) const;
    // The piece that begins at `start`, which must be where a piece begins.
    std::size_t PieceStartingAt(std::size_t start) const;

    // Calls `missing(Piece)`, in order, for each of pieces [first, last) of this text whose
    // content `other` lacks.
    template <typename Missing>
    void ForEachMissingIn(const LineIndex& other, std::size_t first, std::size_t last,
                          Missing&& missing) const;

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t piece = 0; // index of the piece plus one; 0 marks an empty slot
    };

    std::u16string_view Content(std::size_t piece) const;
    const Slot& HomeSlot(std::uint32_t hash) const { return slots_[hash & mask_]; }
    bool Contains(std::u16string_view content, std::uint32_t hash) const {
        return Find(content, hash) != nullptr;
    }
    const Slot* Find(std::u16string_view content, std::uint32_t hash) const;
    void Cut();
    void BuildTable();

    std::u16string_view text_;
    std::vector<std::uint32_t> starts_; // start of every piece, then the text's size plus one
    std::vector<std::uint32_t> hashes_; // hash of every piece's content
    std::vector<Slot> slots_;           // open addressing, linear probing, at most half full
    std::size_t mask_ = 0;
    std::size_t distinct_ = 0;
};

template <typename Missing>
void LineIndex::ForEachMissingIn(const LineIndex& other, std::size_t first, std::size_t last,
                                 Missing&& missing) const {
    // The tables are far larger than the cache: each lookup would wait for its slot, then for
    // the start of the line the slot names, then for that line's text. Asking for them a few
    // lines ahead lets those waits overlap.
    constexpr std::size_t kSlotAhead = 16;
    constexpr std::size_t kStartAhead = 8;
    constexpr std::size_t kTextAhead = 4;
    for (std::size_t piece = first; piece < last; ++piece) {
        if (piece + kSlotAhead < last)
            TARNWICK_PREFETCH(&other.HomeSlot(hashes_[piece + kSlotAhead]));
        if (piece + kStartAhead < last) {
            if (const Slot& slot = other.HomeSlot(hashes_[piece + kStartAhead]); slot.piece != 0)
                TARNWICK_PREFETCH(&other.starts_[slot.piece - 1]);
        }
        if (piece + kTextAhead < last) {
            if (const Slot& slot = other.HomeSlot(hashes_[piece + kTextAhead]); slot.piece != 0)
                TARNWICK_PREFETCH(other.text_.data() + other.starts_[slot.piece - 1]);
        }
        if (!other.Contains(Content(piece), hashes_[piece]))
            missing(PieceAt(piece));
    }
}

} // namespace compare
