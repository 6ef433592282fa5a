#pragma once

#include "app/Panes.h"
#include "compare/LineIndex.h"
#include "platform/EventPump.h"
#include "platform/MsgBox.h"
#include "platform/TextRange.h"

#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace RTB {

enum class Outcome {
    Finished,
    Interrupted, // a full pane was given a new text while the window had the floor
};

inline constexpr std::chrono::milliseconds kPumpInterval{30};

// One run of the line comparison, shared by its two directions: each full pane's text is read,
// cut and indexed once, both at the same time on worker threads, and the second direction's
// differences are worked out in the background while the first direction shows its own.
class LineComparisonRun {
public:
    LineComparisonRun(Panes& panes, EventPump& pump,
                      std::chrono::milliseconds pumpInterval = kPumpInterval);
    ~LineComparisonRun();
    LineComparisonRun(const LineComparisonRun&) = delete;
    LineComparisonRun& operator=(const LineComparisonRun&) = delete;

    Panes& PaneSet() const { return panes_; }
    EventPump& Pump() const { return pump_; }
    std::chrono::milliseconds PumpInterval() const { return pumpInterval_; }

    // Reads and indexes both full panes, unless that was done for the texts they hold now. The
    // window is let through while the workers run; returns false if a full pane was given a new
    // text meanwhile.
    bool Prepare();
    const QString& Text(int file) const { return files_[file - 1].text; }
    const compare::LineIndex& Index(int file) const { return *files_[file - 1].index; }
    // The pieces of file #2 that file #1 lacks, worked out in the background since Prepare;
    // nothing if a full pane was given a new text while the window had the floor. Frees the
    // indexes: the first direction must be done with them.
    std::optional<std::vector<compare::Piece>> MissingOfSecond();

private:
    struct File {
        QString text; // a copy shares the pane's storage and outlives a replacement
        std::unique_ptr<compare::LineIndex> index;
        std::uint64_t generation = 0;
    };

    bool Current() const;
    template <typename Result> bool WaitPumping(std::future<Result>& work);

    Panes& panes_;
    EventPump& pump_;
    std::chrono::milliseconds pumpInterval_;
    File files_[2];
    std::future<std::vector<compare::Piece>> missingOfSecond_;
};

// The line comparison, one direction each: every line of one file that occurs nowhere in the
// other is coloured red in its full pane and listed in its result pane. If a full pane gets a new
// text while the window has the floor, the run stops there.
Outcome FindDifferencesIn1(LineComparisonRun& run, MsgBox& box);
Outcome FindDifferencesIn2(LineComparisonRun& run, MsgBox& box);

// Colours the ranges (sorted, disjoint) red and leaves the selection on the last one.
void HighlightDifferences(Pane& pane, std::span<const TextRange> ranges);

} // namespace RTB
