#pragma once

#include "cli/ByteLines.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The distinct pieces of one text, to look the pieces of another up in. Open addressing with
// linear probing, at most half full. A slot holds where its piece stands in the text plus one (0:
// empty) in its low 40 bits and the top 24 bits of the piece's hash above them, so that most
// probes that are not a match end without reading the text, and one that is reads only the
// piece's bytes. The text must be under 2^40 bytes.
class ByteLineTable {
public:
    // With `repeats`, each piece whose content an earlier piece has goes there as the slot of
    // that content, shifted left by 32 bits, and the piece below it; the table must then have
    // at most 2^32 slots (2^31 pieces).
    explicit ByteLineTable(const ByteLines& lines, std::vector<std::uint64_t>* repeats = nullptr);

    // The pieces of `own` that this table's text lacks, in order.
    std::vector<std::uint32_t> MissingOf(const ByteLines& own) const;
    // The slot of the content, or kNoSlot when the text lacks it.
    std::size_t SlotOf(std::string_view content, std::uint64_t hash) const;
    // Asks for the slot where a look-up of the hash starts and for the bytes of its piece.
    void Prefetch(std::uint64_t hash) const;
    // Where the first piece with the content of a slot that is in use starts its content.
    std::uint64_t PlaceIn(std::size_t slot) const { return (slots_[slot] & kPlaceBits) - 1; }
    static constexpr std::size_t kNoSlot = ~std::size_t{0};
    // What a table of a text of `pieces` pieces takes, in bytes, at most.
    static std::size_t MemoryBytes(std::size_t pieces);
    static constexpr std::uint64_t kMaxTextBytes = (std::uint64_t{1} << 40) - 2;

private:
    static constexpr std::uint64_t kPlaceBits = 0xFF'FFFF'FFFFull;

    std::size_t HomeSlot(std::uint64_t hash) const { return hash & mask_; }
    static std::uint64_t Tag(std::uint64_t hash) { return hash & ~kPlaceBits; }

    const ByteLines& lines_;
    std::vector<std::uint64_t> slots_;
    std::size_t mask_ = 0;
};
