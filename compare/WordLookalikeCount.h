#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace compare {

// Where a red word of the word comparison begins in its text, in UTF-16 units: four bytes a word,
// as a text of millions of red words can have.
using RedWordStart = std::uint32_t;

// How many of the red words of one direction of the word comparison of `own` against `other` have
// a look-alike near the same position of their partner line, as WordLookalikeWalk finds it (and
// FindLookalikeWordAt one word at a time), from the two pane texts and the red words alone.
// `redWords` are in text order and each begins where a word begins. Large texts are walked in two
// halves side by side. Calls keepGoing(unitsOfOwnDone) from the calling thread every few thousand
// red words, and stops, giving nothing, when it returns false.
std::optional<std::size_t>
CountWordLookalikesWith(std::u16string_view own, std::u16string_view other,
                        std::span<const RedWordStart> redWords,
                        const std::function<bool(std::size_t)>& keepGoing);

template <typename KeepGoing>
std::optional<std::size_t> CountWordLookalikes(std::u16string_view own, std::u16string_view other,
                                               std::span<const RedWordStart> redWords,
                                               KeepGoing&& keepGoing) {
    return CountWordLookalikesWith(own, other, redWords,
                                   [&](std::size_t done) -> bool { return keepGoing(done); });
}

} // namespace compare
