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

class KeyedLineWords;

// The look-alike of word `word` of the line `own` among the words of its partner line `partner`
// (number `partnerLine`, from 0), as FindNearLookalike finds it, with the places of both.
std::optional<WordLookalike> FindLookalikeWord(const KeyedLineWords& own, std::size_t word,
                                               const KeyedLineWords& partner,
                                               std::size_t partnerLine);

// The look-alike of a red word, found from two pane texts alone (CR LF breaks, a CR at the end
// that belongs to no word, see WordComparisonText) with no index of either: the word's line in
// `own` and its partner line in `other` are found by scanning for CR LF, and only those two lines
// are cut into words. `wordStart` is where the word begins in `own`; a place inside a word, or a
// blank, stands for the word it belongs to (see KeyedLineWords::WordAt). Nothing for a place past
// the text or on an empty line.
std::optional<WordLookalike> FindLookalikeWordAt(std::u16string_view own, std::size_t wordStart,
                                                 std::u16string_view other);

} // namespace compare
