#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace compare {

// Where the units of a text made from another come from, so that a word found in the made text
// is marked where it stands in the original. Kept as runs: a run of made units either comes unit
// for unit from as many original units (exact), or as a whole from a stretch of them (a collapsed
// run of blanks, a character the rules changed). A text the rules leave alone is one run.
class UnitOrigins {
public:
    void Clear() {
        runs_.clear();
        length_ = 0;
    }
    // The whole of an original of `length` units, unchanged.
    void SetIdentity(std::size_t length) {
        Clear();
        Add(length, 0, length, true);
    }

    // The next `length` made units come from original units [from, to); `exact`: one for one, in
    // order (to - from == length). Made units with no origin are not added.
    void Add(std::size_t length, std::size_t from, std::size_t to, bool exact);

    // For a text made from this made text: the next `length` units of `into` come from units
    // [start, end) here; `exact` as above.
    void AppendTo(UnitOrigins& into, std::size_t start, std::size_t end, std::size_t length,
                  bool exact) const;

    // The original units that made units [start, end). An empty stretch stands where the unit
    // before it ends (at the start of the original's first unit made, for start 0).
    std::pair<std::size_t, std::size_t> Original(std::size_t start, std::size_t end) const;

    std::size_t Length() const { return length_; }
    std::size_t RunCount() const { return runs_.size(); }

private:
    struct Run {
        std::size_t made; // where it starts in the made text
        std::size_t from; // the original units it comes from
        std::size_t to;
        bool exact;
    };
    std::size_t RunOf(std::size_t made) const;
    std::size_t StartOf(std::size_t made) const;
    std::size_t EndOf(std::size_t made) const;

    std::vector<Run> runs_;
    std::size_t length_ = 0;
};

} // namespace compare
