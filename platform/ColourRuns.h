#pragma once

#include "platform/Colour.h"
#include "platform/TextRange.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

// The colour of every code unit of a text, kept as runs of equal colour. Runs are merged as they
// are painted, so a run of one colour is always maximal and painting a million ranges in order
// costs one pass over the runs.
class ColourRuns {
public:
    // A run's start and colour packed into 8 bytes: a text coloured word by word has millions.
    class Run {
    public:
        Run(qsizetype start, Colour colour)
            : packed_(static_cast<std::uint64_t>(start) << kColourBits | (colour & kColourMask)) {}
        qsizetype Start() const { return static_cast<qsizetype>(packed_ >> kColourBits); }
        Colour Paint() const { return static_cast<Colour>(packed_ & kColourMask); }

    private:
        static constexpr int kColourBits = 24; // colours are 0x00BBGGRR
        static constexpr std::uint64_t kColourMask = (std::uint64_t{1} << kColourBits) - 1;
        std::uint64_t packed_;
    };

    // Forgets all colour: `length` units of black.
    void Reset(qsizetype length);
    // New black units at the end.
    void Extend(qsizetype added);
    // Paints ranges sorted by start and not overlapping; parts beyond the text are ignored.
    void Paint(std::span<const TextRange> sortedRanges, Colour colour);
    // Paints ranges handed over one at a time, in order, into a new set of runs, so that millions
    // of them need not be collected first. The runs painted over must outlive the painter.
    class Painter;
    void Paint(TextRange range, Colour colour) { Paint(std::span(&range, 1), colour); }
    // An edit: `removed` units at `position` give way to `inserted` units, which take the colour
    // of the unit before them (or of the unit after them at the start of the text).
    void Replace(qsizetype position, qsizetype removed, qsizetype inserted);
    // The same edit with the inserted units' colours given (an undone deletion gets its own back).
    void Splice(qsizetype position, qsizetype removed, const ColourRuns& inserted);
    // The colours of units [from, to), as runs of their own.
    ColourRuns Slice(qsizetype from, qsizetype to) const;

    qsizetype Length() const { return length_; }
    qint64 MemoryBytes() const { return static_cast<qint64>(runs_.capacity() * sizeof(Run)); }
    Colour At(qsizetype position) const;
    // The maximal runs of one colour, in order.
    std::vector<TextRange> RangesOf(Colour colour) const;
    // The first run of `colour` that begins at or after `position`, or the last one that begins
    // before it; an empty range when there is none.
    TextRange RunFrom(Colour colour, qsizetype position) const;
    TextRange RunBefore(Colour colour, qsizetype position) const;
    // Every run that overlaps [from, to), clipped to it.
    template <typename Visit> void ForEachRunIn(qsizetype from, qsizetype to, Visit visit) const;

private:
    friend class Painter;
    std::vector<Run>::const_iterator RunAt(qsizetype position) const;
    qsizetype EndOf(std::vector<Run>::const_iterator run) const;

    std::vector<Run> runs_; // sorted by start; neighbours differ in colour; empty when length_ is 0
    qsizetype length_ = 0;
};

class ColourRuns::Painter {
public:
    // `expectedRanges`: room made ahead (address space only, until written to).
    Painter(const ColourRuns& base, Colour colour, std::size_t expectedRanges = 0);
    void Add(TextRange range) {
        // Past the base's last run, with a gap since the last range, a range is just a run of the
        // colour and a run of the base's colour after it: the case of every word but the first
        // when a pane painted black is marked word by word.
        if (source_ == base_.runs_.cend() && range.start > done_ && range.length > 0 &&
            range.End() < base_.length_ && lastColour_ != colour_) {
            painted_.emplace_back(range.start, colour_);
            painted_.emplace_back(range.End(), lastColour_);
            done_ = range.End();
            return;
        }
        AddAnywhere(range);
    }
    ColourRuns Finish() &&;

private:
    void AddAnywhere(TextRange range);

    const ColourRuns& base_;
    Colour colour_;
    std::vector<Run> painted_;
    std::vector<Run>::const_iterator source_; // first run of the base not yet copied
    qsizetype done_ = 0;                      // everything before this is in painted_
    Colour lastColour_;                       // the colour of the base's last run
};

template <typename Visit>
void ColourRuns::ForEachRunIn(qsizetype from, qsizetype to, Visit visit) const {
    if (from >= to || from >= length_)
        return;
    for (auto run = RunAt(from); run != runs_.end() && run->Start() < to; ++run) {
        const qsizetype start = std::max(run->Start(), from);
        visit(TextRange{start, std::min(EndOf(run), to) - start}, run->Paint());
    }
}
