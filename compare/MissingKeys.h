#pragma once

#include "compare/LineIndex.h"
#include "compare/Lines.h"
#include "compare/RuleText.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace compare {

// What a piece holds, without the LF that cutting CR LF text at CR leaves at its front.
inline std::u16string_view ContentOf(const LineIndex& lines, Piece piece) {
    return LineContent(lines.Text().substr(piece.start, piece.length));
}

// The distinct keys of the missing pieces, each named by the first missing piece that has it. The
// table keeps each key's hash, not the key: a key is made again from its piece to tell two with
// one hash apart, with the RuleText of the thread that asks.
class MissingKeys {
public:
    static constexpr std::uint32_t kNone = ~std::uint32_t{0};

    // Keys every missing piece with `text`.
    MissingKeys(const LineIndex& own, std::span<const Piece> missing, RuleText& text);

    std::size_t KeyCount() const { return firstOf_.size(); }
    // The number of the key of missing piece `i`, and that key's hash.
    std::uint32_t KeyOf(std::size_t i) const { return keyOf_[i]; }
    std::uint32_t HashOf(std::uint32_t id) const { return hashOf_[id]; }
    // The key of missing piece `i`, made with `text`.
    std::u16string_view KeyOfMissing(std::size_t i, RuleText& text) const {
        return text.Key(ContentOf(own_, missing_[i]));
    }

    // Whether a key with this hash may be in the table: a bit of the hash in a filter small
    // enough to stay in the cache says no for most lines.
    bool MayHold(std::uint32_t hash) const {
        const std::size_t bit = FilterBit(hash);
        return (filter_[bit / 64] >> (bit % 64) & 1) != 0;
    }
    // The number of `key`, or kNone. `key` must outlive what `text` makes; keys for which
    // passOver(id) is true are not looked at closely (their hash alone then does not matter).
    template <typename PassOver>
    std::uint32_t Find(std::u16string_view key, std::uint32_t hash, RuleText& text,
                       PassOver&& passOver) const {
        for (std::size_t i = hash & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
            const std::uint64_t slot = slots_[i];
            if (slot == 0)
                return kNone;
            const auto id = static_cast<std::uint32_t>(slot & 0xFFFFFFFFu) - 1;
            if ((slot >> 32) != hash || passOver(id))
                continue;
            if (text.Key(ContentOf(own_, missing_[firstOf_[id]])) == key)
                return id;
        }
    }

private:
    std::size_t FilterBit(std::uint32_t hash) const {
        // The bits above those that pick a slot, so that the two tests do not overlap.
        return static_cast<std::size_t>(std::rotr(hash, 16)) & (filter_.size() * 64 - 1);
    }
    std::uint32_t Enter(std::u16string_view key, std::uint32_t hash, std::uint32_t piece,
                        RuleText& text);

    const LineIndex& own_;
    std::span<const Piece> missing_;
    std::vector<std::uint64_t> slots_;   // hash << 32 | key number + 1
    std::vector<std::uint64_t> filter_;  // a bit for each key's hash
    std::vector<std::uint32_t> firstOf_; // for each key, the first missing piece with it
    std::vector<std::uint32_t> hashOf_;  // for each key
    std::vector<std::uint32_t> keyOf_;   // for each missing piece
    std::u16string entering_;
};

} // namespace compare
