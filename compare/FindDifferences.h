#pragma once

#include "app/Panes.h"
#include "platform/EventPump.h"
#include "platform/MsgBox.h"
#include "platform/TextRange.h"

#include <chrono>
#include <span>

namespace RTB {

enum class Outcome {
    Finished,
    Interrupted, // a full pane was given a new text while the window had the floor
};

inline constexpr std::chrono::milliseconds kPumpInterval{30};

// The line comparison, one direction each: every line of one file that occurs nowhere in the
// other is coloured red in its full pane and listed in its result pane. The window is let through
// every `pumpInterval` or so; if a full pane gets a new text meanwhile, the run stops there.
Outcome FindDifferencesIn1(Panes& panes, EventPump& pump, MsgBox& box,
                           std::chrono::milliseconds pumpInterval = kPumpInterval);
Outcome FindDifferencesIn2(Panes& panes, EventPump& pump, MsgBox& box,
                           std::chrono::milliseconds pumpInterval = kPumpInterval);

// Colours the ranges (sorted, disjoint) red and leaves the selection on the last one.
void HighlightDifferences(Pane& pane, std::span<const TextRange> ranges);

} // namespace RTB
