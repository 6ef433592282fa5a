#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace compare {

// An unmatched word: `length` units from the 0-based `start` in its text. An empty word keeps its
// place with length 0, so that a caller can still put the selection there.
struct WordMark {
    std::size_t start = 0;
    std::size_t length = 0;

    friend bool operator==(const WordMark&, const WordMark&) = default;
};

// One direction of the word comparison: where the unmatched words of a text stand, and their list,
// each word preceded by CR LF.
struct WordPass {
    std::u16string list;
    std::vector<WordMark> marks;
};

// Compares each line of `own`, cut at CR LF, with its partner line of `other`: line i with line i
// while `other` has it, never with an empty last line of `other`, and from then on with the last
// line reached. When `other` is empty every line is compared with an empty partner line, so all
// its words are unmatched.
WordPass ComparePass(std::u16string_view own, std::u16string_view other);

} // namespace compare
