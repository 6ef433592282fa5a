#include "platform/ColourRuns.h"

#include <algorithm>

namespace {

// Appends a run, merging it into the last one when the colour is the same and replacing the last
// one when both start at the same place.
void PushRun(std::vector<ColourRuns::Run>& runs, qsizetype start, Colour colour) {
    if (!runs.empty() && runs.back().start == start)
        runs.pop_back();
    if (runs.empty() || runs.back().colour != colour)
        runs.push_back({start, colour});
}

} // namespace

void ColourRuns::Reset(qsizetype length) {
    runs_.clear();
    length_ = std::max<qsizetype>(length, 0);
    if (length_ > 0)
        runs_.push_back({0, kBlack});
}

void ColourRuns::Extend(qsizetype added) {
    if (added <= 0)
        return;
    if (runs_.empty() || runs_.back().colour != kBlack)
        runs_.push_back({length_, kBlack});
    length_ += added;
}

std::vector<ColourRuns::Run>::const_iterator ColourRuns::RunAt(qsizetype position) const {
    auto after = std::upper_bound(runs_.begin(), runs_.end(), position,
                                  [](qsizetype pos, const Run& run) { return pos < run.start; });
    return after == runs_.begin() ? after : std::prev(after);
}

qsizetype ColourRuns::EndOf(std::vector<Run>::const_iterator run) const {
    auto next = std::next(run);
    return next == runs_.end() ? length_ : next->start;
}

Colour ColourRuns::At(qsizetype position) const {
    if (position < 0 || position >= length_)
        return kBlack;
    return RunAt(position)->colour;
}

void ColourRuns::Paint(std::span<const TextRange> sortedRanges, Colour colour) {
    if (sortedRanges.empty() || length_ == 0)
        return;
    std::vector<Run> painted;
    painted.reserve(runs_.size() + 2 * sortedRanges.size());
    auto source = runs_.cbegin(); // first old run not yet copied
    qsizetype done = 0;           // everything before this position is in `painted`
    for (const TextRange& range : sortedRanges) {
        const qsizetype start = std::max(range.start, done);
        const qsizetype end = std::min(range.End(), length_);
        if (start >= end)
            continue;
        for (; source != runs_.cend() && source->start < start; ++source)
            PushRun(painted, source->start, source->colour);
        PushRun(painted, start, colour);
        while (source != runs_.cend() && source->start <= end)
            ++source;
        // The old colour resumes at `end`: it is the colour of the last run skipped or passed.
        if (end < length_)
            PushRun(painted, end, std::prev(source)->colour);
        done = end;
    }
    for (; source != runs_.cend(); ++source)
        PushRun(painted, source->start, source->colour);
    runs_ = std::move(painted);
}

void ColourRuns::Replace(qsizetype position, qsizetype removed, qsizetype inserted) {
    position = std::clamp<qsizetype>(position, 0, length_);
    removed = std::clamp<qsizetype>(removed, 0, length_ - position);
    inserted = std::max<qsizetype>(inserted, 0);
    const qsizetype removedEnd = position + removed;
    const qsizetype newLength = length_ - removed + inserted;
    if (newLength == 0 || runs_.empty()) {
        Reset(newLength);
        return;
    }
    std::vector<Run> edited;
    edited.reserve(runs_.size() + 1);
    auto source = runs_.cbegin();
    for (; source != runs_.cend() && source->start < position; ++source)
        PushRun(edited, source->start, source->colour);
    if (edited.empty()) // the edit is at the start: the new units take the colour that follows
        PushRun(edited, 0, At(std::min(removedEnd, length_ - 1)));
    if (removedEnd < length_)
        PushRun(edited, position + inserted, At(removedEnd));
    for (source = RunAt(removedEnd); source != runs_.cend(); ++source)
        if (source->start > removedEnd)
            PushRun(edited, source->start - removed + inserted, source->colour);
    runs_ = std::move(edited);
    length_ = newLength;
}

std::vector<TextRange> ColourRuns::RangesOf(Colour colour) const {
    std::vector<TextRange> ranges;
    for (auto run = runs_.cbegin(); run != runs_.cend(); ++run)
        if (run->colour == colour)
            ranges.push_back({run->start, EndOf(run) - run->start});
    return ranges;
}
