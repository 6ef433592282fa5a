#pragma once

#include "app/ErrorReport.h"
#include "app/Panes.h"
#include "compare/ComparisonRules.h"
#include "compare/Outcome.h"
#include "platform/EventPump.h"

#include <atomic>

// The word comparison's work on the panes, as numbered statements of the procedure that runs it:
// both full panes back to black (108–118), both texts read once (120, 122), both result panes
// emptied (132, 134), then both passes worked out side by side on threads beside the window,
// which keeps painting and answering, and each shown at once: the pass over file #1 (138) and the
// pass over file #2 (154). A pass marks its unmatched words red where they stand, leaves the
// selection on the last one and lists them; the marks and the list are one list of places in the
// text. `cancel` is raised from the window's thread (Esc): what was found so far is shown. Under
// `rules` the words only a rule matched are drawn in their quiet colour and explained.
Task<RTB::Outcome> FindWordDifferences(Panes& panes, GuardedProcedure& proc, EventPump& pump,
                                       const std::atomic<bool>& cancel,
                                       compare::ComparisonRules rules = {});
