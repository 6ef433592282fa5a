#pragma once

#include "platform/Colour.h"
#include "platform/TextRange.h"

#include <span>
#include <vector>

// The colour of every code unit of a text, kept as runs of equal colour. Runs are merged as they
// are painted, so a run of one colour is always maximal and painting a million ranges in order
// costs one pass over the runs.
class ColourRuns {
public:
    struct Run {
        qsizetype start;
        Colour colour;
    };

    // Forgets all colour: `length` units of black.
    void Reset(qsizetype length);
    // New black units at the end.
    void Extend(qsizetype added);
    // Paints ranges sorted by start and not overlapping; parts beyond the text are ignored.
    void Paint(std::span<const TextRange> sortedRanges, Colour colour);
    void Paint(TextRange range, Colour colour) { Paint(std::span(&range, 1), colour); }
    // An edit: `removed` units at `position` give way to `inserted` units, which take the colour
    // of the unit before them (or of the unit after them at the start of the text).
    void Replace(qsizetype position, qsizetype removed, qsizetype inserted);

    qsizetype Length() const { return length_; }
    Colour At(qsizetype position) const;
    // The maximal runs of one colour, in order.
    std::vector<TextRange> RangesOf(Colour colour) const;
    // Every run that overlaps [from, to), clipped to it.
    template <typename Visit> void ForEachRunIn(qsizetype from, qsizetype to, Visit visit) const;

private:
    std::vector<Run>::const_iterator RunAt(qsizetype position) const;
    qsizetype EndOf(std::vector<Run>::const_iterator run) const;

    std::vector<Run> runs_; // sorted by start; neighbours differ in colour; empty when length_ is 0
    qsizetype length_ = 0;
};

template <typename Visit>
void ColourRuns::ForEachRunIn(qsizetype from, qsizetype to, Visit visit) const {
    if (from >= to || from >= length_)
        return;
    for (auto run = RunAt(from); run != runs_.end() && run->start < to; ++run)
        visit(TextRange{std::max(run->start, from),
                        std::min(EndOf(run), to) - std::max(run->start, from)},
              run->colour);
}
