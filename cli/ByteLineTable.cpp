#include "cli/ByteLineTable.h"

#include "compare/Prefetch.h"
#include "platform/LargePages.h"

#include <bit>

namespace {

std::size_t SlotCount(std::size_t pieces) {
    return std::bit_ceil(std::max<std::size_t>(2 * pieces, 16));
}

// The table is far larger than the cache: each probe would wait for its slot, then for the bytes
// of the piece the slot names. Asking for them a few pieces ahead lets those waits overlap.
constexpr std::size_t kSlotAhead = 16;
constexpr std::size_t kBytesAhead = 6;

} // namespace

ByteLineTable::ByteLineTable(const ByteLines& lines, std::vector<std::uint64_t>* repeats)
    : lines_(lines), slots_(SlotCount(lines.PieceCount())) {
    AdviseLargePages(slots_.data(), slots_.size() * sizeof(std::uint64_t));
    mask_ = slots_.size() - 1;
    const std::size_t count = lines.PieceCount();
    for (std::size_t piece = 0; piece < count; ++piece) {
        if (piece + kSlotAhead < count)
            TARNWICK_PREFETCH(&slots_[HomeSlot(lines.Hash(piece + kSlotAhead))]);
        const std::uint64_t hash = lines.Hash(piece);
        const std::uint64_t tag = Tag(hash);
        const std::string_view content = lines.Content(piece);
        for (std::size_t slot = HomeSlot(hash);; slot = (slot + 1) & mask_) {
            const std::uint64_t held = slots_[slot];
            if (held == 0) {
                slots_[slot] = tag | (lines.Place(piece) + 1);
                break;
            }
            if (Tag(held) == tag && lines.HoldsAt((held & kPlaceBits) - 1, content)) {
                if (repeats) // a piece like it is there already
                    repeats->push_back(std::uint64_t{slot} << 32 | piece);
                break;
            }
        }
    }
}

void ByteLineTable::Prefetch(std::uint64_t hash) const {
    const std::uint64_t held = slots_[HomeSlot(hash)];
    if (held != 0)
        TARNWICK_PREFETCH(lines_.Bytes().data() + (held & kPlaceBits) - 1);
}

std::size_t ByteLineTable::MemoryBytes(std::size_t pieces) {
    return SlotCount(pieces) * sizeof(std::uint64_t);
}

std::size_t ByteLineTable::SlotOf(std::string_view content, std::uint64_t hash) const {
    const std::uint64_t tag = Tag(hash);
    for (std::size_t slot = HomeSlot(hash);; slot = (slot + 1) & mask_) {
        const std::uint64_t held = slots_[slot];
        if (held == 0)
            return kNoSlot;
        if (Tag(held) == tag && lines_.HoldsAt((held & kPlaceBits) - 1, content))
            return slot;
    }
}

std::vector<std::uint32_t> ByteLineTable::MissingOf(const ByteLines& own) const {
    std::vector<std::uint32_t> missing;
    const std::size_t count = own.PieceCount();
    const char* const bytes = lines_.Bytes().data();
    for (std::size_t piece = 0; piece < count; ++piece) {
        if (piece + kSlotAhead < count)
            TARNWICK_PREFETCH(&slots_[HomeSlot(own.Hash(piece + kSlotAhead))]);
        if (piece + kBytesAhead < count) {
            const std::uint64_t held = slots_[HomeSlot(own.Hash(piece + kBytesAhead))];
            if (held != 0)
                TARNWICK_PREFETCH(bytes + (held & kPlaceBits) - 1);
        }
        if (SlotOf(own.Content(piece), own.Hash(piece)) == kNoSlot)
            missing.push_back(static_cast<std::uint32_t>(piece));
    }
    return missing;
}
