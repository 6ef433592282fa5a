#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace compare {

// Where `a` or `b` next stands in `text` from `from` on, or text.size(). Lines and words run for
// several units between separators, so the units are looked at four to a 64-bit word: a word holds
// a unit where (word ^ units) has a zero unit, which the carry trick finds without a branch per
// unit.
inline std::size_t FindEither(std::u16string_view text, char16_t a, char16_t b, std::size_t from) {
    constexpr std::uint64_t kLow = 0x0001'0001'0001'0001ull;
    constexpr std::uint64_t kHigh = 0x8000'8000'8000'8000ull;
    const auto zeroUnits = [](std::uint64_t v) { return (v - kLow) & ~v & kHigh; };
    const char16_t* units = text.data();
    const std::size_t size = text.size();
    std::size_t i = from;
    for (; i + 4 <= size; i += 4) {
        std::uint64_t word;
        std::memcpy(&word, units + i, sizeof word);
        const std::uint64_t found = zeroUnits(word ^ (kLow * a)) | zeroUnits(word ^ (kLow * b));
        if (found == 0)
            continue;
        // On little-endian machines the first unit flagged is a true match: a borrow can only
        // flag units after it. Elsewhere the units are looked at one by one from here.
        if constexpr (std::endian::native == std::endian::little)
            return i + static_cast<std::size_t>(std::countr_zero(found)) / 16;
        else
            break;
    }
    while (i < size && units[i] != a && units[i] != b)
        ++i;
    return i;
}

inline std::size_t FindUnit(std::u16string_view text, char16_t unit, std::size_t from) {
    return FindEither(text, unit, unit, from);
}

} // namespace compare
