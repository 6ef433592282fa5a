#pragma once

#include "compare/UnitScan.h"

#include <algorithm>
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

// How many times `unit` stands in [from, to) of `text`. Each 16-bit lane of a vector counts the
// matches in its place, a match comparing as minus one; the lanes are added up before any of them
// could overflow. No bit count: where the processor is not known to have one, that is a call.
inline std::size_t CountUnit(std::u16string_view text, char16_t unit, std::size_t from,
                             std::size_t to) {
    const char16_t* units = text.data();
    std::size_t count = 0;
    std::size_t i = from;
#ifdef TARNWICK_UNIT_SCAN_SSE2
    constexpr std::size_t kLaneUnits = 8;
    constexpr std::size_t kMostSteps = 32767;
    const __m128i wanted = _mm_set1_epi16(static_cast<short>(unit));
    while (i + kLaneUnits <= to) {
        const std::size_t steps = std::min((to - i) / kLaneUnits, kMostSteps);
        __m128i lanes = _mm_setzero_si128();
        for (std::size_t step = 0; step < steps; ++step, i += kLaneUnits)
            lanes = _mm_sub_epi16(
                lanes, _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i)),
                                       wanted));
        alignas(16) std::int32_t sums[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(sums), _mm_madd_epi16(lanes, _mm_set1_epi16(1)));
        count += static_cast<std::size_t>(sums[0]) + static_cast<std::size_t>(sums[1]) +
                 static_cast<std::size_t>(sums[2]) + static_cast<std::size_t>(sums[3]);
    }
#endif
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
