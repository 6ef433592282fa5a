// "Find Differences (Lines)" and "Find Differences (Words)".
#include "app/ErrorReport.h"
#include "app/Form1.h"
#include "app/MousePointer.h"
#include "compare/FindDifferences.h"
#include "compare/FindWordDifferences.h"

using namespace Qt::StringLiterals;

// Statements 100 to 106 of both comparisons: refuse to start while one runs (nothing is shown
// then), take the busy flag, let pending events through once, show the hourglass.
bool Form1::StartComparison(GuardedProcedure& proc) {
    if (proc.Test(100, [&] { return busy_; }))
        return false;
    proc.Step(102, [&] {
        busy_ = true;
        cancel_ = false;
    });
    proc.Step(104, [&] { desktop_.pump.DoEvents(); });
    proc.Step(106, [&] { SetMousePointer(MousePointer::Hourglass); });
    return true;
}

// Esc while a comparison runs: it stops, shows what it found so far and says no "Done.".
void Form1::CancelComparison() {
    if (busy_)
        cancel_ = true;
}

void Form1::PushButton1_Click() {
    GuardedProcedure proc(desktop_.msgBox, u"in Tarnwick2021/08/31.Form1.PushButton1_Click "_s);
    if (!StartComparison(proc))
        return;
    // Both directions are worked out beside the window, which stays live. A full pane given a
    // new text meanwhile ends the run: what is shown then is no longer what was compared.
    auto first = RTB::Outcome::Finished, second = RTB::Outcome::Finished;
    RTB::LineComparisonRun run(panes, desktop_.pump, cancel_);
    proc.Step(108, [&] { first = RTB::FindDifferencesIn1(run, desktop_.msgBox); });
    if (first != RTB::Outcome::Interrupted)
        proc.Step(110, [&] { second = RTB::FindDifferencesIn2(run, desktop_.msgBox); });
    if (first == RTB::Outcome::Finished && second == RTB::Outcome::Finished)
        proc.Step(112, [&] { desktop_.msgBox.Show(u"Done."_s, MsgBoxStyle::OkOnly); });
    proc.Step(114, [&] { SetMousePointer(MousePointer::Default); });
    proc.Step(116, [&] { busy_ = false; });
}

void Form1::PushButton6_Click() {
    GuardedProcedure proc(desktop_.msgBox, u"in Tarnwick2021/08/31.Form1.PushButton6_Click "_s);
    if (!StartComparison(proc))
        return;
    const RTB::Outcome outcome = FindWordDifferences(panes, proc, desktop_.pump, cancel_);
    proc.Step(162, [&] { SetMousePointer(MousePointer::Default); });
    if (outcome == RTB::Outcome::Finished)
        proc.Step(164, [&] { desktop_.msgBox.Show(u"Done."_s, MsgBoxStyle::OkOnly); });
    proc.Step(166, [&] { busy_ = false; });
}
