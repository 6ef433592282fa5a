#pragma once

#include "app/Panes.h"
#include "compare/LineIndex.h"
#include "compare/Outcome.h"
#include "platform/EventPump.h"
#include "platform/MsgBox.h"
#include "platform/Task.h"
#include "platform/TextRange.h"

#include <atomic>
#include <memory>
#include <span>
#include <vector>

class ResultList;

namespace RTB {

// One run of the line comparison, shared by its two directions. Both full panes' texts are read,
// cut and indexed once, and both directions worked out, on threads beside the window, which
// keeps painting and answering meanwhile; each direction then shows what it found at once: its
// red marks and its list, which refers into the text rather than copying it.
class LineComparisonRun {
public:
    // `cancel` is raised from the window's thread (the user pressed Esc) and read by the work.
    LineComparisonRun(Panes& panes, EventPump& pump, const std::atomic<bool>& cancel);
    ~LineComparisonRun();
    LineComparisonRun(const LineComparisonRun&) = delete;
    LineComparisonRun& operator=(const LineComparisonRun&) = delete;

    Panes& PaneSet() const { return panes_; }

    // Works out both directions, unless that was done for the texts the full panes hold now.
    // Returns false when a full pane was given a new text meanwhile.
    Task<bool> Prepare();
    // Whether the full panes still hold the texts that were compared: what was found may be
    // shown only then.
    bool Current() const;
    bool Cancelled() const { return stop_ && !interrupted_; }

    // What one direction found: the marks to colour, in order, and the list of the pieces.
    struct Found {
        std::vector<TextRange> marks;
        std::shared_ptr<const ResultList> list;
        // The red lines that look like a line of the other text: where they stand, and what
        // sets them apart, for the pane's tooltips.
        std::shared_ptr<const std::vector<std::pair<TextRange, QString>>> lookalikes;
    };
    const Found& FoundIn(int file) const { return found_[file - 1]; }

private:
    void Work(const QString& one, const QString& two);
    void FindLookalikes(const compare::LineIndex& first, const compare::LineIndex& second);
    void Tick();

    Panes& panes_;
    EventPump& pump_;
    const std::atomic<bool>& cancel_;
    std::atomic<bool> stop_ = false;
    bool interrupted_ = false;
    bool prepared_ = false;
    std::uint64_t generations_[2] = {};
    std::atomic<std::size_t> piecesDone_ = 0;
    std::atomic<std::size_t> pieceTotal_ = 0;
    Found found_[2];
};

// The line comparison, one direction each: every line of one file that occurs nowhere in the
// other is coloured red in its full pane and listed in its result pane.
Task<Outcome> FindDifferencesIn1(LineComparisonRun& run, MsgBox& box);
Task<Outcome> FindDifferencesIn2(LineComparisonRun& run, MsgBox& box);

// Colours the ranges (sorted, disjoint) red and leaves the selection on the last one.
void HighlightDifferences(Pane& pane, std::span<const TextRange> ranges);

} // namespace RTB
