#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace compare {

// The two places a user's regular expression can stand among the rules.
enum class RuleRole {
    IgnoreMatching, // a line it finds a match in is no difference
    Mask,           // each match inside a line stands for one placeholder
};

// A user's expression that cannot be used, and why, in words a user can act on. what() is one
// line in UTF-8: "mask '\d{4': a {min,max} is not closed, at character 5".
class RuleError : public std::runtime_error {
public:
    RuleError(RuleRole role, std::u16string_view expression, const std::string& complaint);

    RuleRole Role() const { return role_; }
    const std::u16string& Expression() const { return expression_; }
    // What is wrong, without the expression: "a {min,max} is not closed, at character 5".
    const std::string& Complaint() const { return complaint_; }

private:
    RuleRole role_;
    std::u16string expression_;
    std::string complaint_;
};

// "ignore-matching" or "mask".
std::string_view RuleRoleName(RuleRole role);

} // namespace compare
