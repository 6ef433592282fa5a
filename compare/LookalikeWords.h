#pragma once

#include "compare/LookalikeKinds.h"
#include "compare/WordIndex.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace compare {

// A word of the partner line that a red word of the word comparison looks like.
struct WordLookalike {
    std::size_t start = 0; // the red word, in its own text
    std::size_t length = 0;
    std::size_t otherStart = 0; // the look-alike, in the other text
    std::size_t otherLength = 0;
    std::size_t otherLine = 0; // the partner line's number, from 1
    LookalikeKinds kinds;

    friend bool operator==(const WordLookalike&, const WordLookalike&) = default;
};

// The look-alike of word `word` (numbered as in `own`) of line `line` among the words of line
// `partner` of `other` near the same position. Near means what the comparison itself looks at:
// for the word at index i of a line of n words, the partner words at indices i - W to i + W, W
// being the comparison's look-ahead WindowSize(n); the nearest is taken first, and of two equally
// near the earlier. A partner word equal to the red word is not a look-alike.
std::optional<WordLookalike> FindLookalikeWord(const WordIndex& own, std::size_t line,
                                               std::size_t word, const WordIndex& other,
                                               std::size_t partner);

// The look-alikes of the red words of one direction of the word comparison of `own` against
// `other`, in text order; red words without one are left out.
std::vector<WordLookalike> FindLookalikeWordsOfPass(const WordIndex& own, const WordIndex& other);

} // namespace compare
