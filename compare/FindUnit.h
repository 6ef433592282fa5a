#pragma once

#include "compare/UnitScan.h"

#include <bit>
#include <cstddef>
#include <string_view>

namespace compare {

// Where `unit` next stands in `text` from `from` on, or text.size(). Lines run for dozens of units
// between CRs, so the units are looked at sixteen at a time.
inline std::size_t FindUnit(std::u16string_view text, char16_t unit, std::size_t from) {
    const char16_t* units = text.data();
    const std::size_t size = text.size();
    std::size_t i = from;
    for (; i + kScanUnits <= size; i += kScanUnits)
        if (const std::uint32_t found = EqualMasks(units + i, unit, unit).a; found != 0)
            return i + static_cast<std::size_t>(std::countr_zero(found));
    while (i < size && units[i] != unit)
        ++i;
    return i;
}

// How many times `unit` stands in [from, to) of `text`, counted sixteen units at a time.
inline std::size_t CountUnit(std::u16string_view text, char16_t unit, std::size_t from,
                             std::size_t to) {
    const char16_t* units = text.data();
    std::size_t count = 0;
    std::size_t i = from;
    // Most blocks hold none: the count, a call where the processor is not known to count bits,
    // is skipped for them.
    for (; i + kScanUnits <= to; i += kScanUnits)
        if (const std::uint32_t found = EqualMasks(units + i, unit, unit).a; found != 0)
            count += static_cast<std::size_t>(std::popcount(found));
    for (; i < to; ++i)
        count += units[i] == unit;
    return count;
}

// Where the `n`th `unit` (n from 1) stands from `from` on in text[0, to), and how many of them
// there are up to it: n, or fewer when the text ends first (then `to`).
struct NthUnit {
    std::size_t at;
    std::size_t found;
};
inline NthUnit FindNthUnit(std::u16string_view text, char16_t unit, std::size_t from,
                           std::size_t to, std::size_t n) {
    if (n == 0)
        return {from, 0};
    const char16_t* units = text.data();
    std::size_t found = 0;
    std::size_t i = from;
    for (; i + kScanUnits <= to; i += kScanUnits) {
        std::uint32_t mask = EqualMasks(units + i, unit, unit).a;
        const auto count = static_cast<std::size_t>(std::popcount(mask));
        if (found + count < n) {
            found += count;
            continue;
        }
        for (; found + 1 < n; ++found)
            mask &= mask - 1;
        return {i + static_cast<std::size_t>(std::countr_zero(mask)), n};
    }
    for (; i < to; ++i)
        if (units[i] == unit && ++found == n)
            return {i, n};
    return {to, found};
}

} // namespace compare
