#pragma once

#include "compare/Prefetch.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

namespace compare {

// The distinct line contents of a text that is read only once, kept in as little room as they
// fit: a line whose units all fit in a byte takes a byte a unit. Each content carries a mark, for
// "another text has it too". What it costs grows with the distinct lines, not with the text: a
// text of a million empty lines holds one.
class LineSet {
public:
    static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

    // A numbered set also keeps each content's number, in the order they were added.
    explicit LineSet(bool numbered = false);

    // Adds the content unless it is there already; where it is kept, either way.
    std::size_t Add(std::u16string_view content, std::uint32_t hash);
    // Where the content is kept, or kNone.
    std::size_t Find(std::u16string_view content, std::uint32_t hash) const;
    void Mark(std::size_t entry) { store_[entry] |= 1; }
    bool Marked(std::size_t entry) const { return (store_[entry] & 1) != 0; }
    // The content kept at `entry`, and its number in a numbered set.
    std::u16string Content(std::size_t entry) const;
    std::uint32_t Number(std::size_t entry) const;

    // Asks for what a lookup of the hash reads first, its home slot, and later, once that is in
    // the cache, for the line that slot names: lookups many lines ahead then overlap their waits.
    void PrefetchSlot(std::uint32_t hash) const { TARNWICK_PREFETCH(&slots_[HomeSlot(hash)]); }
    void PrefetchLine(std::uint32_t hash) const {
        if (const std::uint64_t slot = slots_[HomeSlot(hash)]; slot != 0)
            TARNWICK_PREFETCH(store_.data() + (slot & 0xFFFFFFFFu) - 1);
    }

    std::size_t Count() const { return count_; }
    // What it holds, in bytes.
    std::size_t MemoryBytes() const;

private:
    std::size_t HomeSlot(std::uint32_t hash) const { return hash & (slots_.size() - 1); }
    // The header at `entry`: (length << 2 | wide << 1 | mark); `at` is left after it and the
    // number, if any.
    std::uint64_t Header(std::size_t entry, const unsigned char*& at) const;
    bool Holds(std::size_t entry, std::u16string_view content) const;
    std::size_t Store(std::u16string_view content);
    void Grow();

    // Each content: a varint of (length << 2 | wide << 1 | mark), in a numbered set a varint of
    // its number, then its units, a byte each, or two when one of them does not fit in a byte.
    std::vector<unsigned char> store_;
    // Open addressing, linear probing, at most three quarters full: the content's hash in the
    // high half, where it is kept plus one in the low half (0: empty).
    std::vector<std::uint64_t> slots_;
    std::size_t count_ = 0;
    bool numbered_ = false;
};

} // namespace compare
