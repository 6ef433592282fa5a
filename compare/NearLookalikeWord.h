#pragma once

#include "compare/LookalikeKinds.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace compare {

// The words of one line of a text, cut as the word comparison cuts them, each with a hash of its
// loose key, worked out in one pass over the line: a red word and the partner words near it are
// compared by a number first, and only words of equal numbers are looked at closely.
class KeyedLineWords {
public:
    // The words of the line at [start, end) of `text`; what was held before is replaced.
    void Cut(std::u16string_view text, std::size_t start, std::size_t end);

    std::size_t Count() const { return starts_.size(); }
    std::size_t Start(std::size_t word) const { return lineStart_ + starts_[word]; } // in the text
    std::u16string_view Word(std::size_t word) const;
    std::span<const std::uint32_t> Hashes() const { return hashes_; }
    // How far the word comparison looks ahead for a word of this line: WindowSize(Count()).
    std::size_t Window() const { return window_; }
    // The word that the unit at `at` of the text (from the line's start to its end, both
    // included) belongs to: the last one that begins there or before, so that a blank counts with
    // the word it ends. The line must have words.
    std::size_t WordAt(std::size_t at) const;

private:
    std::u16string_view line_;
    std::size_t lineStart_ = 0;
    std::vector<std::size_t> starts_;
    std::vector<std::uint64_t> keyHashes_;
    std::vector<std::uint32_t> hashes_; // the key hashes folded, for a quick look along them
    std::size_t window_ = 0;
};

// A look-alike among a partner line's words: its index there and what tells it apart.
struct NearLookalike {
    std::size_t word = 0;
    LookalikeKinds kinds;
};

// The look-alike of word `word` of `own` among the words of `partner` near the same position.
// Near means what the word comparison itself looks at: for the word at index i of a line of n
// words, the partner words at indices i - W to i + W, W being the comparison's look-ahead
// WindowSize(n); the nearest is taken first, and of two equally near the earlier. A partner word
// equal to the word itself is not a look-alike.
std::optional<NearLookalike> FindNearLookalike(const KeyedLineWords& own, std::size_t word,
                                               const KeyedLineWords& partner);

} // namespace compare
