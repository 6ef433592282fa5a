#include "platform/ColourRuns.h"

#include "platform/LargePages.h"

#include <algorithm>

namespace {

// Appends a run, merging it into the last one when the colour is the same and replacing the last
// one when both start at the same place.
void PushRun(std::vector<ColourRuns::Run>& runs, qsizetype start, Colour colour) {
    if (!runs.empty() && runs.back().Start() == start)
        runs.pop_back();
    if (runs.empty() || runs.back().Paint() != colour)
        runs.emplace_back(start, colour);
}

} // namespace

void ColourRuns::Reset(qsizetype length) {
    runs_.clear();
    length_ = std::max<qsizetype>(length, 0);
    if (length_ > 0)
        runs_.emplace_back(0, kBlack);
}

void ColourRuns::Extend(qsizetype added) {
    if (added <= 0)
        return;
    if (runs_.empty() || runs_.back().Paint() != kBlack)
        runs_.emplace_back(length_, kBlack);
    length_ += added;
}

std::vector<ColourRuns::Run>::const_iterator ColourRuns::RunAt(qsizetype position) const {
    auto after = std::upper_bound(runs_.begin(), runs_.end(), position,
                                  [](qsizetype pos, const Run& run) { return pos < run.Start(); });
    return after == runs_.begin() ? after : std::prev(after);
}

qsizetype ColourRuns::EndOf(std::vector<Run>::const_iterator run) const {
    auto next = std::next(run);
    return next == runs_.end() ? length_ : next->Start();
}

Colour ColourRuns::At(qsizetype position) const {
    if (position < 0 || position >= length_)
        return kBlack;
    return RunAt(position)->Paint();
}

ColourRuns::Painter::Painter(const ColourRuns& base, Colour colour, std::size_t expectedRanges)
    : base_(base), colour_(colour), source_(base.runs_.cbegin()),
      lastColour_(base.runs_.empty() ? kBlack : base.runs_.back().Paint()) {
    painted_.reserve(base.runs_.size() + 2 * expectedRanges);
    AdviseLargePages(painted_.data(), painted_.capacity() * sizeof(Run));
}

void ColourRuns::Painter::AddAnywhere(TextRange range) {
    const qsizetype start = std::max(range.start, done_);
    const qsizetype end = std::min(range.End(), base_.length_);
    if (start >= end)
        return;
    for (; source_ != base_.runs_.cend() && source_->Start() < start; ++source_)
        PushRun(painted_, source_->Start(), source_->Paint());
    PushRun(painted_, start, colour_);
    while (source_ != base_.runs_.cend() && source_->Start() <= end)
        ++source_;
    // The old colour resumes at `end`: it is the colour of the last run skipped or passed.
    if (end < base_.length_)
        PushRun(painted_, end, std::prev(source_)->Paint());
    done_ = end;
}

ColourRuns ColourRuns::Painter::Finish() && {
    for (; source_ != base_.runs_.cend(); ++source_)
        PushRun(painted_, source_->Start(), source_->Paint());
    ColourRuns painted;
    painted.runs_ = std::move(painted_);
    painted.length_ = base_.length_;
    return painted;
}

void ColourRuns::Paint(std::span<const TextRange> sortedRanges, Colour colour) {
    if (sortedRanges.empty() || length_ == 0)
        return;
    Painter painter(*this, colour, sortedRanges.size());
    for (const TextRange& range : sortedRanges)
        painter.Add(range);
    *this = std::move(painter).Finish();
}

void ColourRuns::Replace(qsizetype position, qsizetype removed, qsizetype inserted) {
    position = std::clamp<qsizetype>(position, 0, length_);
    removed = std::clamp<qsizetype>(removed, 0, length_ - position);
    const Colour neighbour = position > 0 ? At(position - 1) : At(position + removed);
    ColourRuns units;
    units.Reset(inserted);
    if (neighbour != kBlack)
        units.Paint(TextRange{0, inserted}, neighbour);
    Splice(position, removed, units);
}

void ColourRuns::Splice(qsizetype position, qsizetype removed, const ColourRuns& inserted) {
    position = std::clamp<qsizetype>(position, 0, length_);
    removed = std::clamp<qsizetype>(removed, 0, length_ - position);
    const qsizetype shift = inserted.length_ - removed;
    std::vector<Run> spliced;
    spliced.reserve(runs_.size() + inserted.runs_.size() + 1);
    const auto push = [&](qsizetype offset) {
        return [&spliced, offset](TextRange range, Colour colour) {
            PushRun(spliced, range.start + offset, colour);
        };
    };
    ForEachRunIn(0, position, push(0));
    inserted.ForEachRunIn(0, inserted.length_, push(position));
    ForEachRunIn(position + removed, length_, push(shift));
    runs_ = std::move(spliced);
    length_ += shift;
}

ColourRuns ColourRuns::Slice(qsizetype from, qsizetype to) const {
    ColourRuns slice;
    ForEachRunIn(from, to, [&](TextRange range, Colour colour) {
        PushRun(slice.runs_, range.start - from, colour);
    });
    slice.length_ = std::max<qsizetype>(0, std::min(to, length_) - from);
    return slice;
}

std::vector<TextRange> ColourRuns::RangesOf(Colour colour) const {
    std::vector<TextRange> ranges;
    for (auto run = runs_.cbegin(); run != runs_.cend(); ++run)
        if (run->Paint() == colour)
            ranges.push_back({run->Start(), EndOf(run) - run->Start()});
    return ranges;
}

TextRange ColourRuns::RunFrom(Colour colour, qsizetype position) const {
    for (auto run = RunAt(std::max<qsizetype>(position, 0)); run != runs_.cend(); ++run)
        if (run->Paint() == colour && run->Start() >= position)
            return {run->Start(), EndOf(run) - run->Start()};
    return {};
}

TextRange ColourRuns::RunBefore(Colour colour, qsizetype position) const {
    if (runs_.empty() || position <= 0)
        return {};
    for (auto run = RunAt(position - 1);; --run) {
        if (run->Paint() == colour && run->Start() < position)
            return {run->Start(), EndOf(run) - run->Start()};
        if (run == runs_.cbegin())
            return {};
    }
}
