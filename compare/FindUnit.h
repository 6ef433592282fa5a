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

} // namespace compare
