#pragma once

#include "app/Panes.h"
#include "compare/LineComparisonWork.h"
#include "compare/Outcome.h"
#include "platform/EventPump.h"
#include "platform/MsgBox.h"
#include "platform/Task.h"
#include "platform/TextRange.h"

#include <atomic>
#include <memory>
#include <optional>

namespace RTB {

// One run of the line comparison, shared by its two directions. Both full panes' texts are read,
// cut and indexed once, and both directions worked out, on threads beside the window, which
// keeps painting and answering meanwhile, within what the window may hold (see MemoryBound); each
// direction then shows what it found at once: its list, which refers into the text rather than
// copying it, and the same list as the red marks of the full pane.
class LineComparisonRun {
public:
    // `cancel` is raised from the window's thread (the user pressed Esc) and read by the work.
    // Under `rules` (none by default) lines that only a rule matched are shown as such.
    LineComparisonRun(Panes& panes, EventPump& pump, const std::atomic<bool>& cancel,
                      compare::ComparisonRules rules = {});
    ~LineComparisonRun();
    LineComparisonRun(const LineComparisonRun&) = delete;
    LineComparisonRun& operator=(const LineComparisonRun&) = delete;

    Panes& PaneSet() const { return panes_; }
    const compare::ComparisonRules& Rules() const { return rules_; }

    // Works out both directions, unless that was done for the texts the full panes hold now.
    // Returns false when a full pane was given a new text meanwhile.
    Task<bool> Prepare();
    // Whether the full panes still hold the texts that were compared: what was found may be
    // shown only then.
    bool Current() const;
    bool Cancelled() const { return stop_ && !interrupted_; }

    // What one direction found: the list of its red pieces, and their look-alikes.
    using Found = LineFindings;
    const Found& FoundIn(int file) const { return comparison_.found[file - 1]; }
    // Whether the red lines' look-alikes will be looked for once the comparison is shown.
    bool LookalikesComing() const;
    // Tells that a direction has been shown; once the second is, the notes on the lines of both
    // are worked out beside the window (see NoteLinesLater).
    void Shown(int file);

private:
    Panes& panes_;
    EventPump& pump_;
    const std::atomic<bool>& cancel_;
    compare::ComparisonRules rules_;
    std::atomic<bool> stop_ = false;
    bool interrupted_ = false;
    bool prepared_ = false;
    std::uint64_t generations_[2] = {};
    LineWorkState work_{stop_};
    LineComparison comparison_;
    std::array<std::optional<std::uint64_t>, 2> shownSummaries_;
};

// The line comparison, one direction each: every line of one file that occurs nowhere in the
// other is coloured red in its full pane and listed in its result pane.
Task<Outcome> FindDifferencesIn1(LineComparisonRun& run, MsgBox& box);
Task<Outcome> FindDifferencesIn2(LineComparisonRun& run, MsgBox& box);

// Marks the entries of the list, cut from the pane's text, red (each piece with its CR) and leaves
// the selection on the last one.
void HighlightDifferences(Pane& pane, std::shared_ptr<const ResultList> list);

} // namespace RTB
