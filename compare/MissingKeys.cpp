#include "compare/MissingKeys.h"

#include "compare/ContentHash.h"
#include "compare/Prefetch.h"

#include <algorithm>
#include <bit>

namespace compare {

MissingKeys::MissingKeys(const LineIndex& own, std::span<const Piece> missing, RuleText& text)
    : own_(own), missing_(missing),
      slots_(std::bit_ceil(std::max<std::size_t>(16, 2 * missing.size())), 0),
      filter_(std::bit_ceil(std::max<std::size_t>(1024, 16 * missing.size())) / 64, 0) {
    keyOf_.reserve(missing.size());
    // The missing pieces stand far apart in a text far larger than the cache: each is asked for
    // a few pieces before it is keyed.
    constexpr std::size_t kAhead = 8;
    const char16_t* const units = own.Text().data();
    for (std::size_t i = 0; i < missing.size(); ++i) {
        if (i + kAhead < missing.size())
            TARNWICK_PREFETCH(units + missing[i + kAhead].start);
        const std::u16string_view key = text.Key(ContentOf(own, missing[i]));
        keyOf_.push_back(Enter(key, ContentHash(key), static_cast<std::uint32_t>(i), text));
    }
}

std::uint32_t MissingKeys::Enter(std::u16string_view key, std::uint32_t hash, std::uint32_t piece,
                                 RuleText& text) {
    entering_.assign(key); // the view goes when a key is made to tell two apart
    const std::uint32_t found = Find(entering_, hash, text, [](std::uint32_t) { return false; });
    if (found != kNone)
        return found;
    std::size_t i = hash & (slots_.size() - 1);
    while (slots_[i] != 0)
        i = (i + 1) & (slots_.size() - 1);
    const auto id = static_cast<std::uint32_t>(firstOf_.size());
    firstOf_.push_back(piece);
    hashOf_.push_back(hash);
    slots_[i] = std::uint64_t{hash} << 32 | (id + 1);
    const std::size_t bit = FilterBit(hash);
    filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
    return id;
}

} // namespace compare
