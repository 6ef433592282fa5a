#include "cli/ByteMaskKey.h"

#include "cli/LineHash.h"

#include <algorithm>
#include <stdexcept>

namespace {

// Masks make keys of UTF-16 units, what no ASCII key is made of: a masked key holds a placeholder
// at or above U+0080.
bool HoldsPlaceholder(std::u16string_view key) {
    return std::any_of(key.begin(), key.end(), [](char16_t unit) { return unit >= 0x80; });
}

} // namespace

ByteMaskKey::ByteMaskKey(const compare::ComparisonRules& rules) : text_(rules) {
    for (const compare::RuleExpression& mask : rules.Masks())
        masks_.emplace_back(mask);
}

std::u16string_view ByteMaskKey::Widened(std::string_view content) {
    if (widened_.size() < content.size())
        widened_.resize(content.size());
    std::copy(content.begin(), content.end(), widened_.begin());
    return {widened_.data(), content.size()};
}

std::optional<std::u16string_view> ByteMaskKey::MaskedKeyOf(std::string_view content) {
    const std::u16string_view line = Widened(content);
    // Most lines are matched by no mask: the first match is all it takes to know, and the key is
    // made, matching the line again, only for the others.
    if (std::none_of(masks_.begin(), masks_.end(),
                     [&](compare::RuleExpression::Finder& mask) { return mask.FindsIn(line); }))
        return std::nullopt;
    const std::u16string_view key = text_.Key(line);
    if (!HoldsPlaceholder(key))
        throw std::logic_error("A mask that matches left no placeholder");
    return key;
}

bool ByteMaskKey::Ignored(std::string_view content) {
    return text_.Ignored(Widened(content));
}

std::uint64_t ByteMaskKey::Hash(std::u16string_view key) {
    return LineHash({reinterpret_cast<const char*>(key.data()), key.size() * sizeof(char16_t)});
}

std::size_t ByteMaskKey::BufferBytes(std::size_t longestLine, std::size_t masks) {
    // The widened line; the masked line, which an empty match at every place makes twice as long;
    // the key, made in room for four units a unit of that; and the places of the matches, found
    // mask by mask and gathered; each in a buffer that may have grown to twice what it holds.
    const std::size_t units = longestLine + 1;
    const std::size_t matchBytes = 2 * sizeof(std::size_t) * units;
    return 2 * (sizeof(char16_t) * (units + 2 * units + 4 * 2 * units) + matchBytes * (masks + 1));
}

std::size_t ByteMaskKey::HeldKeyBytes(std::size_t longestLine) {
    // No kind that the comparison on bytes serves makes a key longer than the masked line.
    return 2 * sizeof(char16_t) * 2 * (longestLine + 1);
}
