#pragma once

#include "compare/LineIndex.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace compare {

// The lines that stand more than once in either of two texts, as the line comparison sees lines
// (the contents of pieces cut at CR): for each such line of one text, how often it stands in each.
// The membership rule does not tell a line that repeats three times here and once there from one
// that stands once in each; this tells it. Keeps 20 bytes for each distinct line that repeats.
class RepeatedLines {
public:
    struct Counts {
        std::uint32_t here = 0;
        std::uint32_t there = 0;
    };

    // What counting takes on the way, beside the two indexes: four bytes a piece of either text.
    static std::size_t CountingBytes(const LineIndex& first, const LineIndex& second) {
        return 4 * (first.PieceCount() + second.PieceCount());
    }
    // The repeated lines of each text, the first's and the second's.
    static std::pair<RepeatedLines, RepeatedLines> OfBoth(const LineIndex& first,
                                                          const LineIndex& second);

    // How often the line with this content stands here and there, when it repeats in either;
    // `ownText` is the text the lines were counted in.
    std::optional<Counts> Find(std::u16string_view content, std::u16string_view ownText) const;
    std::size_t Count() const { return entries_.size(); }
    std::size_t MemoryBytes() const { return entries_.capacity() * sizeof(Entry); }

private:
    static RepeatedLines Of(const LineIndex& own, const std::vector<std::uint32_t>& here,
                            const LineIndex& other, const std::vector<std::uint32_t>& there);

    struct Entry {
        std::uint32_t hash;
        std::uint32_t start, length; // of the line's content where it first stands here
        Counts counts;
    };
    std::vector<Entry> entries_; // in order of hash
};

} // namespace compare
