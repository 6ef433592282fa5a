#pragma once

#include "app/ErrorReport.h"
#include "app/Panes.h"

// The word comparison's work on the panes, as numbered statements of the procedure that runs it:
// both full panes back to black (108–118), both texts read once (120, 122), both result panes
// emptied (132, 134), then the pass over file #1 (138) and the pass over file #2 (154). Each pass
// colours its unmatched words red, leaves the selection on the last one and writes its list at
// once. The second pass is worked out on a worker thread while the first runs: both only read.
void FindWordDifferences(Panes& panes, GuardedProcedure& proc);
