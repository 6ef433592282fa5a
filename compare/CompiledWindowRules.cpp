#include "compare/CompiledWindowRules.h"

#include "app/RuleKindNames.h"
#include "compare/RuleError.h"

using namespace Qt::StringLiterals;

namespace {

std::u16string Units(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

} // namespace

compare::ComparisonRules CompiledWindowRules(const WindowRules& rules) {
    compare::RuleChoice choice;
    for (const QString& kind : rules.kinds)
        if (const int i = RuleKindIndex(kind); i >= 0)
            choice.kinds = choice.kinds.With(compare::kLookalikeKinds[static_cast<std::size_t>(i)]);
    if (rules.ignoreMatching)
        choice.ignoreMatching = Units(*rules.ignoreMatching);
    for (const QString& mask : rules.masks)
        choice.masks.push_back(Units(mask));
    return compare::ComparisonRules(std::move(choice));
}

QString RulesComplaint(const WindowRules& rules) {
    try {
        CompiledWindowRules(rules);
    } catch (const compare::RuleError& error) {
        const std::u16string& expression = error.Expression();
        const QString role = error.Role() == compare::RuleRole::Mask
                                 ? u"The mask"_s
                                 : u"The expression for lines to ignore"_s;
        return role + u" \u201C"_s +
               QString::fromUtf16(expression.data(), static_cast<qsizetype>(expression.size())) +
               u"\u201D cannot be used: "_s + QString::fromStdString(error.Complaint()) + u"."_s;
    }
    return {};
}
