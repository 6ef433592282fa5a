#include "compare/RuleError.h"

#include <unicode/unistr.h>

namespace compare {

namespace {

std::string Utf8(std::u16string_view text) {
    std::string bytes;
    icu::UnicodeString(false, text.data(), static_cast<int32_t>(text.size())).toUTF8String(bytes);
    return bytes;
}

} // namespace

RuleError::RuleError(RuleRole role, std::u16string_view expression, const std::string& complaint)
    : std::runtime_error(std::string(RuleRoleName(role)) + " '" + Utf8(expression) +
                         "': " + complaint),
      role_(role), expression_(expression), complaint_(complaint) {}

std::string_view RuleRoleName(RuleRole role) {
    return role == RuleRole::IgnoreMatching ? "ignore-matching" : "mask";
}

} // namespace compare
