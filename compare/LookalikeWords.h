#pragma once

#include "compare/LookalikeKinds.h"

#include <cstddef>
#include <optional>
#include <string_view>

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

// The look-alike of a red word, found from two pane texts alone (CR LF breaks, a CR at the end
// that belongs to no word, see WordComparisonText) as a tooltip asks for it: the walk of
// WordLookalikeWalk taken to this one word. The word's line and its partner line are found by
// scanning for CR LF, the word's place on its line by counting blanks, and only the partner words
// near it are keyed. `wordStart` is where the word begins in `own`; a place inside a word, or a
// blank, stands for the word it belongs to. Nothing for a place past the text or on an empty line.
std::optional<WordLookalike> FindLookalikeWordAt(std::u16string_view own, std::size_t wordStart,
                                                 std::u16string_view other);

} // namespace compare
