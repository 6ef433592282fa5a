#pragma once

#include "compare/ComparisonRules.h"
#include "compare/RuleText.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the rules' expressions make of a line of ASCII bytes, for one thread: the line is widened
// to UTF-16 unit for byte (ASCII's units are its bytes, and a unit's place is its byte's) and
// handed to the decoded comparison's RuleText, so that the expressions match, and the masks'
// matches become placeholders, exactly as they do there.
//
// A mask's match leaves a placeholder, which no ASCII line holds, in the key: such a key is never
// the key of a line no mask matched. The key of a line no mask matched is its key under the other
// rules alone, which ByteRuleKey makes from the bytes; so only the keys of masked lines are made
// here. Matching may fail (RuleError), as it may on the decoded texts.
class ByteMaskKey {
public:
    explicit ByteMaskKey(const compare::ComparisonRules& rules);

    // The key of ASCII `content` under all the rules when a mask matches in it, else nothing.
    // Valid until the next call.
    std::optional<std::u16string_view> MaskedKeyOf(std::string_view content);
    // Whether the ignore-matching expression finds a match in ASCII `content`.
    bool Ignored(std::string_view content);

    // The hash of a masked key.
    static std::uint64_t Hash(std::u16string_view key);
    // What one takes at most beside the matching itself, in bytes, for lines of at most
    // `longestLine` bytes under `masks` masks.
    static std::size_t BufferBytes(std::size_t longestLine, std::size_t masks);
    // What a copy of a masked key takes at most, in bytes, likewise.
    static std::size_t HeldKeyBytes(std::size_t longestLine);

private:
    std::u16string_view Widened(std::string_view content);

    compare::RuleText text_;
    std::vector<compare::RuleExpression::Finder> masks_; // to tell whether any matches
    std::u16string widened_; // only grows: most lines are not the longest
};
