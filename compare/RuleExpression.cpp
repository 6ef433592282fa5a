#include "compare/RuleExpression.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <limits>

namespace compare {

namespace {

// What ICU's complaint means, in a user's words.
std::string ComplaintAbout(UErrorCode status) {
    switch (status) {
    case U_REGEX_RULE_SYNTAX:
        return "syntax error";
    case U_REGEX_BAD_ESCAPE_SEQUENCE:
        return "unknown backslash escape";
    case U_REGEX_PROPERTY_SYNTAX:
        return "unknown or malformed Unicode property";
    case U_REGEX_UNIMPLEMENTED:
        return "this feature of regular expressions is not supported";
    case U_REGEX_MISMATCHED_PAREN:
        return "parentheses do not pair up";
    case U_REGEX_NUMBER_TOO_BIG:
        return "a number is too large";
    case U_REGEX_BAD_INTERVAL:
        return "a {min,max} repetition is malformed";
    case U_REGEX_MAX_LT_MIN:
        return "in a {min,max} repetition max is less than min";
    case U_REGEX_INVALID_BACK_REF:
        return "a back reference names a group that does not exist";
    case U_REGEX_INVALID_FLAG:
        return "unknown flag";
    case U_REGEX_LOOK_BEHIND_LIMIT:
        return "a look-behind must have a bounded length";
    case U_REGEX_SET_CONTAINS_STRING:
        return "a [set] cannot contain strings";
    case U_REGEX_MISSING_CLOSE_BRACKET:
        return "a [set] is not closed with ]";
    case U_REGEX_INVALID_RANGE:
        return "in a range [x-y] x comes after y";
    case U_REGEX_PATTERN_TOO_BIG:
        return "the expression is too large or too complex";
    case U_REGEX_INVALID_CAPTURE_GROUP_NAME:
        return "malformed name of a group";
    case U_REGEX_STACK_OVERFLOW:
        return "matching it took more memory than a match may take";
    case U_REGEX_TIME_OUT:
        return "matching it took too long";
    default:
        return std::string("ICU reports ") + u_errorName(status);
    }
}

std::string Where(const UParseError& where) {
    if (where.offset < 0)
        return {};
    std::string at = ", at character " + std::to_string(where.offset + 1);
    if (where.line > 1)
        at += " of line " + std::to_string(where.line);
    return at;
}

icu::UnicodeString Alias(std::u16string_view text) {
    return icu::UnicodeString(false, text.data(), static_cast<int32_t>(text.size()));
}

} // namespace

struct RuleExpression::Compiled {
    std::unique_ptr<icu::RegexPattern> pattern;
};

RuleExpression::RuleExpression(RuleRole role, std::u16string_view expression)
    : role_(role), text_(expression) {
    if (expression.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
        throw RuleError(role, expression, "the expression is too large or too complex");
    UParseError where{};
    UErrorCode status = U_ZERO_ERROR;
    // The pattern is copied by ICU, so the alias need not outlive the call.
    auto compiled = std::make_shared<Compiled>();
    compiled->pattern.reset(icu::RegexPattern::compile(Alias(text_), 0, where, status));
    if (U_FAILURE(status))
        throw RuleError(role, expression, ComplaintAbout(status) + Where(where));
    compiled_ = std::move(compiled);
}

struct RuleExpression::Finder::State {
    RuleRole role;
    std::u16string expression; // for a complaint
    std::unique_ptr<icu::RegexMatcher> matcher;
    icu::UnicodeString input; // an alias of the line being matched, which ICU reads in place

    void Reset(std::u16string_view line) {
        input.setTo(false, line.data(), static_cast<int32_t>(line.size()));
        matcher->reset(input);
    }
    // A match that ran out of room is trouble, not "no match".
    void ThrowIfFailed(UErrorCode status) const {
        if (U_FAILURE(status))
            throw RuleError(role, expression, ComplaintAbout(status));
    }
};

RuleExpression::Finder::Finder(const RuleExpression& expression) {
    UErrorCode status = U_ZERO_ERROR;
    state_.reset(new State{expression.role_, expression.text_, nullptr, {}});
    state_->matcher.reset(expression.compiled_->pattern->matcher(status));
    state_->ThrowIfFailed(status);
}

RuleExpression::Finder::~Finder() = default;
RuleExpression::Finder::Finder(Finder&&) noexcept = default;
RuleExpression::Finder& RuleExpression::Finder::operator=(Finder&&) noexcept = default;

bool RuleExpression::Finder::FindsIn(std::u16string_view line) {
    state_->Reset(line);
    UErrorCode status = U_ZERO_ERROR;
    const bool found = state_->matcher->find(status);
    state_->ThrowIfFailed(status);
    return found;
}

void RuleExpression::Finder::FindAllIn(std::u16string_view line,
                                       std::vector<std::pair<std::size_t, std::size_t>>& matches) {
    matches.clear();
    state_->Reset(line);
    icu::RegexMatcher& matcher = *state_->matcher;
    UErrorCode status = U_ZERO_ERROR;
    // ICU's find() moves on by one unit after an empty match by itself.
    while (matcher.find(status)) {
        const int32_t start = matcher.start(status);
        const int32_t end = matcher.end(status);
        state_->ThrowIfFailed(status);
        matches.emplace_back(static_cast<std::size_t>(start), static_cast<std::size_t>(end));
    }
    state_->ThrowIfFailed(status);
}

} // namespace compare
