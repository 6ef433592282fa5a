#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// What the comparison targets make of the fuzzer's bytes: the first picks the size of the chunks
// the texts are handed over in, a 0xFF byte ends the first text, and every other byte is a unit
// of the alphabet, so that lines, words and their separators are common.
struct FuzzTexts {
    std::size_t chunk = 1;
    std::u16string texts[2];
};

template <std::size_t N>
FuzzTexts TextsFrom(const std::uint8_t* data, std::size_t size, const char16_t (&alphabet)[N]) {
    FuzzTexts made;
    if (size == 0)
        return made;
    made.chunk = 1 + data[0] % 9;
    int side = 0;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFF)
            side = 1;
        else
            made.texts[side].push_back(alphabet[data[i] % N]);
    }
    return made;
}

// A target's finding: the fuzzer saves the input that led here.
inline void Check(bool holds) {
    if (!holds)
        std::abort();
}
