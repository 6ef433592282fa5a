#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace compare {

// A fast hash of a line's UTF-16 code units, eight bytes a step, for the membership tables. Not
// for anything adversarial: equal hashes are always checked by comparing the contents.
inline std::uint32_t ContentHash(std::u16string_view content) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    const auto* bytes = reinterpret_cast<const unsigned char*>(content.data());
    std::size_t left = content.size() * sizeof(char16_t);
    std::uint64_t hash = left * kMultiplier;
    const auto step = [&](std::uint64_t word) {
        hash = ((hash << 27 | hash >> 37) ^ word) * kMultiplier;
    };
    for (; left >= 8; left -= 8, bytes += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes, sizeof word);
        step(word);
    }
    if (left > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, left);
        step(word);
    }
    // Mix the high bits down, so that the low bits that pick a slot depend on every byte.
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDull;
    hash ^= hash >> 33;
    return static_cast<std::uint32_t>(hash);
}

} // namespace compare
