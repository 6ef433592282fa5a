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
    proc.Step(102, [&] { busy_ = true; });
    proc.Step(104, [&] { desktop_.pump.DoEvents(); });
    proc.Step(106, [&] { SetMousePointer(MousePointer::Hourglass); });
    return true;
}

void Form1::PushButton1_Click() {
    GuardedProcedure proc(desktop_.msgBox, u"in Tarnwick2021/08/31.Form1.PushButton1_Click "_s);
    if (!StartComparison(proc))
        return;
    // A full pane given a new text while the window had the floor ends the run: what is shown
    // then is no longer what was compared.
    auto outcome = RTB::Outcome::Finished;
    RTB::LineComparisonRun run(panes, desktop_.pump, desktop_.pumpInterval);
    proc.Step(108, [&] { outcome = RTB::FindDifferencesIn1(run, desktop_.msgBox); });
    if (outcome == RTB::Outcome::Finished)
        proc.Step(110, [&] { outcome = RTB::FindDifferencesIn2(run, desktop_.msgBox); });
    if (outcome == RTB::Outcome::Finished)
        proc.Step(112, [&] { desktop_.msgBox.Show(u"Done."_s, MsgBoxStyle::OkOnly); });
    proc.Step(114, [&] { SetMousePointer(MousePointer::Default); });
    proc.Step(116, [&] { busy_ = false; });
}

void Form1::PushButton6_Click() {
    GuardedProcedure proc(desktop_.msgBox, u"in Tarnwick2021/08/31.Form1.PushButton6_Click "_s);
    if (!StartComparison(proc))
        return;
    FindWordDifferences(panes, proc);
    proc.Step(162, [&] { SetMousePointer(MousePointer::Default); });
    proc.Step(164, [&] { desktop_.msgBox.Show(u"Done."_s, MsgBoxStyle::OkOnly); });
    proc.Step(166, [&] { busy_ = false; });
}
