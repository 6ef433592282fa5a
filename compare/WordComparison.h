#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace compare {

// How many partner words, from the first one not used up, a word of a line of `wordCount` words
// is looked for among: (n - 1) / 2 + 1, a value halfway between two integers going to the even one.
std::size_t WindowSize(std::size_t wordCount);

// Most words looked at differ in length or in their first unit, which is seen without a call.
inline bool SameWord(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           (a.empty() || (a.front() == b.front() &&
                          std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0));
}

// A word summed up in one number, for a first comparison without reading the text: its length and
// its first and last units. Equal words have equal keys; most unequal words do not.
inline std::uint64_t WordKey(std::u16string_view word) {
    if (word.empty())
        return 0;
    return std::uint64_t{word.size()} << 32 | std::uint64_t{word.front()} << 16 | word.back();
}

} // namespace compare
