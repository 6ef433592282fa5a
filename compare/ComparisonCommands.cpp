// "Find Differences (Lines)" and "Find Differences (Words)".
#include "app/ErrorReport.h"
#include "app/Form1.h"
#include "app/MousePointer.h"
#include "compare/CompiledWindowRules.h"
#include "compare/FindDifferences.h"
#include "compare/FindWordDifferences.h"
#include "compare/RuleError.h"

using namespace Qt::StringLiterals;

// Statements 100 to 106 of both comparisons: refuse to start while one runs (nothing is shown
// then), take the busy flag, let pending events through once, show the hourglass. A comparison
// asked for while a file is still loading waits for it: it compares what the user will see.
Task<bool> Form1::StartComparison(GuardedProcedure& proc) {
    if (co_await proc.Test(100, [&] { return busy_; }))
        co_return false;
    co_await proc.Step(102, [&] {
        busy_ = true;
        cancel_ = false;
    });
    co_await proc.Step(104, [&]() -> Task<> {
        co_await desktop_.pump.Yield();
        co_await loads_.Settled();
    });
    co_await proc.Step(106, [&] { SetMousePointer(MousePointer::Hourglass); });
    co_return true;
}

// The rules in force, compiled. They were checked when chosen; what cannot be used counts as no
// rule rather than stopping the comparison.
compare::ComparisonRules ActiveRules(const WindowRules& rules) {
    try {
        return CompiledWindowRules(rules);
    } catch (const compare::RuleError&) {
        return {};
    }
}

// Esc while a comparison runs: it stops, shows what it found so far and says no "Done.".
void Form1::CancelComparison() {
    if (busy_)
        cancel_ = true;
}

Task<> Form1::PushButton1_Click() {
    GuardedProcedure proc(desktop_.msgBox, u"in Tarnwick2021/08/31.Form1.PushButton1_Click "_s);
    if (!co_await StartComparison(proc))
        co_return;
    // Both directions are worked out beside the window, which stays live. A full pane given a
    // new text meanwhile ends the run: what is shown then is no longer what was compared.
    auto first = RTB::Outcome::Finished, second = RTB::Outcome::Finished;
    RTB::LineComparisonRun run(panes, desktop_.pump, cancel_, ActiveRules(rules_));
    co_await proc.Step(
        108, [&]() -> Task<> { first = co_await RTB::FindDifferencesIn1(run, desktop_.msgBox); });
    if (first != RTB::Outcome::Interrupted)
        co_await proc.Step(110, [&]() -> Task<> {
            second = co_await RTB::FindDifferencesIn2(run, desktop_.msgBox);
        });
    if (first == RTB::Outcome::Finished && second == RTB::Outcome::Finished)
        co_await proc.Step(112, [&]() -> Task<> {
            co_await desktop_.msgBox.Show(u"Done."_s, MsgBoxStyle::OkOnly);
        });
    co_await proc.Step(114, [&] { SetMousePointer(MousePointer::Default); });
    co_await proc.Step(116, [&] { busy_ = false; });
}

Task<> Form1::PushButton6_Click() {
    GuardedProcedure proc(desktop_.msgBox, u"in Tarnwick2021/08/31.Form1.PushButton6_Click "_s);
    if (!co_await StartComparison(proc))
        co_return;
    compare::ComparisonRules rules = ActiveRules(rules_);
    const RTB::Outcome outcome =
        co_await FindWordDifferences(panes, proc, desktop_.pump, cancel_, std::move(rules));
    co_await proc.Step(162, [&] { SetMousePointer(MousePointer::Default); });
    if (outcome == RTB::Outcome::Finished)
        co_await proc.Step(164, [&]() -> Task<> {
            co_await desktop_.msgBox.Show(u"Done."_s, MsgBoxStyle::OkOnly);
        });
    co_await proc.Step(166, [&] { busy_ = false; });
}
