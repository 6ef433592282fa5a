#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace compare {

// The line contents of a text cut at CR, for membership tests. A line's content is its piece
// without the one LF that cutting CR LF text at CR leaves at its front, so the same line reads the
// same wherever it stands. The set refers into the text, which must outlive it.
class LineSet {
public:
    explicit LineSet(std::u16string_view text);

    bool Contains(std::u16string_view content) const;
    std::size_t DistinctCount() const { return distinct_; }

private:
    struct Slot {
        std::uint32_t tag = 0;   // high bits of the hash, to skip most unequal candidates
        std::uint32_t piece = 0; // index into starts_ plus one; 0 marks an empty slot
    };

    std::u16string_view Content(std::uint32_t piece) const;
    bool Insert(std::uint32_t piece);

    std::u16string_view text_;
    std::vector<std::size_t> starts_; // start of every piece, then one past the end of the text
    std::vector<Slot> slots_;         // open addressing, linear probing, at most half full
    std::size_t mask_ = 0;
    std::size_t distinct_ = 0;
};

} // namespace compare
