#pragma once

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <cstdint>
#include <string_view>

namespace compare {

// The hash of a line's UTF-16 code units, for the membership tables. Not for anything
// adversarial: equal hashes are always checked by comparing the contents.
inline std::uint32_t ContentHash(std::u16string_view content) {
    return static_cast<std::uint32_t>(
        XXH3_64bits(content.data(), content.size() * sizeof(char16_t)));
}

} // namespace compare
