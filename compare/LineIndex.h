#pragma once

#include "compare/Lines.h"
#include "compare/Prefetch.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace compare {

// A text cut at CR once, each piece's content hashed once, and a hash table over the distinct
// contents: everything both directions of a line comparison need of one text. A piece's content
// is the piece without the one LF that cutting CR LF text at CR leaves at its front, so the same
// line reads the same wherever it stands. Refers into the text, which must outlive it.
//
// It costs under 16 bytes a piece all told: a start and a hash each, and a table slot of four
// bytes for every 0.6 pieces that names a piece and keeps as many bits of its hash as the piece
// number leaves free, so that most probes that are not a match end without reading the text.
class LineIndex {
public:
    // Throws std::length_error for a text of 2^32 units or more.
    explicit LineIndex(std::u16string_view text) : LineIndex(text, CountPieces(text)) {}
    // The same for a text whose pieces were counted already.
    LineIndex(std::u16string_view text, std::size_t pieces);

    // How many pieces cutting `text` at CR gives: one more than it has CRs, none when it is empty.
    static std::size_t CountPieces(std::u16string_view text);

    std::u16string_view Text() const { return text_; }
    std::size_t PieceCount() const { return starts_.size() - 1; }
    Piece PieceAt(std::size_t piece) const {
        return {starts_[piece], starts_[piece + 1] - 1 - starts_[piece]};
    }
    // The start of every piece, then the text's size plus one.
    std::span<const std::uint32_t> PieceStarts() const { return starts_; }
    std::size_t DistinctCount() const { return distinct_; }
    bool Contains(std::u16string_view content) const;
    // The first piece whose content is `content`, if any.
    std::optional<std::size_t> FirstPieceWith(std::u16string_view content) const;
    // The first piece with the content of piece `piece`.
    std::size_t FirstPieceLike(std::size_t piece) const {
        return Find(Content(piece), hashes_[piece]) - 1;
    }
    // The hash of what piece `piece` holds (ContentHash of its Content).
    std::uint32_t ContentHashOf(std::size_t piece) const { return hashes_[piece]; }
    // What piece `piece` holds, without the CR that ends it.
    std::u16string_view Content(std::size_t piece) const;
    // The piece that starts at `start`, or the first after it.
    std::size_t PieceStartingAt(std::size_t start) const;
    // What the index holds beside the text, in bytes.
    std::size_t MemoryBytes() const;

    // Calls `found(piece, elsewhere)`, in order, for each of pieces [first, last) of this text;
    // `elsewhere` is the first piece of `other` with the same content, if it has one.
    template <typename Found>
    void ForEachFirstPieceIn(const LineIndex& other, std::size_t first, std::size_t last,
                             Found&& found) const;
    // Calls `missing(Piece)`, in order, for each of pieces [first, last) of this text whose
    // content `other` lacks.
    template <typename Missing>
    void ForEachMissingIn(const LineIndex& other, std::size_t first, std::size_t last,
                          Missing&& missing) const {
        ForEachFirstPieceIn(other, first, last,
                            [&](std::size_t piece, std::optional<std::size_t> elsewhere) {
                                if (!elsewhere)
                                    missing(PieceAt(piece));
                            });
    }
    // All the pieces of this text whose content `other` lacks, in order.
    std::vector<Piece> MissingIn(const LineIndex& other) const {
        std::vector<Piece> missing;
        ForEachMissingIn(other, 0, PieceCount(), [&](Piece piece) { missing.push_back(piece); });
        return missing;
    }

private:
    std::size_t HomeSlot(std::uint32_t hash) const {
        return static_cast<std::size_t>((std::uint64_t{hash} * slots_.size()) >> 32);
    }
    std::uint32_t Tag(std::uint32_t hash) const { return hash & tagMask_; }
    std::size_t NextSlot(std::size_t slot) const {
        return slot + 1 == slots_.size() ? 0 : slot + 1;
    }
    // The piece the table names for the content, plus one; 0 when it has none.
    std::uint32_t Find(std::u16string_view content, std::uint32_t hash) const;
    bool Contains(std::u16string_view content, std::uint32_t hash) const {
        return Find(content, hash) != 0;
    }
    void Cut(std::size_t pieces);
    void BuildTable();

    std::u16string_view text_;
    std::vector<std::uint32_t> starts_; // start of every piece, then the text's size plus one
    std::vector<std::uint32_t> hashes_; // hash of every piece's content
    // Open addressing, linear probing, at most 0.6 full. A slot holds the piece's number plus one
    // in its low bits (0: empty) and, above them, the low bits of the piece's hash.
    std::vector<std::uint32_t> slots_;
    int pieceBits_ = 0;
    std::uint32_t pieceMask_ = 0;
    std::uint32_t tagMask_ = 0;
    std::size_t distinct_ = 0;
};

template <typename Found>
void LineIndex::ForEachFirstPieceIn(const LineIndex& other, std::size_t first, std::size_t last,
                                    Found&& found) const {
    // The tables are far larger than the cache: each lookup would wait for its slot, then for
    // the start of the line the slot names, then for that line's text. Asking for them a few
    // lines ahead lets those waits overlap.
    constexpr std::size_t kSlotAhead = 16;
    constexpr std::size_t kStartAhead = 8;
    constexpr std::size_t kTextAhead = 4;
    const auto pieceIn = [&](std::size_t ahead) {
        return other.slots_[other.HomeSlot(hashes_[ahead])] & other.pieceMask_;
    };
    for (std::size_t piece = first; piece < last; ++piece) {
        if (piece + kSlotAhead < last)
            TARNWICK_PREFETCH(&other.slots_[other.HomeSlot(hashes_[piece + kSlotAhead])]);
        if (piece + kStartAhead < last) {
            if (const std::uint32_t named = pieceIn(piece + kStartAhead); named != 0)
                TARNWICK_PREFETCH(&other.starts_[named - 1]);
        }
        if (piece + kTextAhead < last) {
            if (const std::uint32_t named = pieceIn(piece + kTextAhead); named != 0)
                TARNWICK_PREFETCH(other.text_.data() + other.starts_[named - 1]);
        }
        if (const std::uint32_t named = other.Find(Content(piece), hashes_[piece]); named != 0)
            found(piece, std::optional<std::size_t>(named - 1));
        else
            found(piece, std::optional<std::size_t>());
    }
}

} // namespace compare
