#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class SettingsStore;

// What the user chose to count as no difference in the window, as plain text: the kinds by the
// names of kRuleKindNames, the ignore-matching expression and the masks. With nothing chosen the
// comparisons are exactly what they always were.
struct WindowRules {
    QStringList kinds; // in the order of kRuleKindNames, each once
    std::optional<QString> ignoreMatching;
    QStringList masks;

    bool Any() const { return !kinds.isEmpty() || ignoreMatching.has_value() || !masks.isEmpty(); }
    friend bool operator==(const WindowRules&, const WindowRules&) = default;
};

// "ignoring case, trailing blanks, lines matching ^#, masks": what the window title adds while
// rules are active; empty when none is.
QString ActiveRulesPhrase(const WindowRules& rules);

// Why the rules cannot be used (an expression ICU cannot compile), in a sentence; empty when they
// can. Defined beside the comparisons, which compile them.
QString RulesComplaint(const WindowRules& rules);

// The rules remembered between runs, under keys of their own. What is stored but cannot be used
// (a kind unknown, an expression that does not compile, text that is no list) counts as no rule.
namespace RulesSetting {
WindowRules Read(SettingsStore& settings);
// Throws Failure when the store cannot be written.
void Save(SettingsStore& settings, const WindowRules& rules);
} // namespace RulesSetting
