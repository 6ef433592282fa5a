#pragma once

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <cstdint>
#include <string_view>

// The hash of a line's bytes. Equal hashes only say where to look: lines are equal when their
// bytes are.
inline std::uint64_t LineHash(std::string_view content) {
    return XXH3_64bits(content.data(), content.size());
}
