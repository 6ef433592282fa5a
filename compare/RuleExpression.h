#pragma once

#include "compare/RuleError.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace compare {

// A user's regular expression in ICU's syntax (Perl's, with Unicode properties), compiled once
// when the rules are made and shared by every thread that compares. It is matched against one
// line at a time, without the line's break: ^ and $ stand at the line's ends, and a match never
// spans lines.
class RuleExpression {
public:
    // Throws RuleError naming the expression and what is wrong with it.
    RuleExpression(RuleRole role, std::u16string_view expression);

    RuleRole Role() const { return role_; }
    const std::u16string& Text() const { return text_; }

    // The matching of one thread: ICU's matchers keep state, so each thread has its own.
    class Finder {
    public:
        explicit Finder(const RuleExpression& expression);
        ~Finder();
        Finder(Finder&&) noexcept;
        Finder& operator=(Finder&&) noexcept;

        // Whether the expression matches anywhere in `line`.
        bool FindsIn(std::u16string_view line);
        // Every match in `line`, in order, as [start, end): an empty match too, and after an
        // empty match the next is looked for one unit further on.
        void FindAllIn(std::u16string_view line,
                       std::vector<std::pair<std::size_t, std::size_t>>& matches);

    private:
        struct State;
        std::unique_ptr<State> state_;
    };

private:
    struct Compiled;
    RuleRole role_;
    std::u16string text_;
    std::shared_ptr<const Compiled> compiled_;
};

} // namespace compare
