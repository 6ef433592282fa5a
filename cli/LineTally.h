#pragma once

#include "compare/LineSet.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// How often each distinct line of the file that a streamed line comparison holds (a LineSet)
// stands in either file. The set keeps its lines one after the other in the order it met them,
// so a line's number in that order is found from where the set keeps it by a binary search;
// beside the set this holds twelve bytes a distinct line.
class LineTally {
public:
    static constexpr std::size_t kNone = compare::LineSet::kNone;

    explicit LineTally(compare::LineSet& set) : set_(set) {}

    // Adds a piece of the held file to the set, and counts it there.
    void AddHeld(std::u16string_view content, std::uint32_t hash);
    // The number of the line, or kNone when the set lacks it.
    std::size_t Find(std::u16string_view content, std::uint32_t hash) const;
    // Counts a piece of the other file that the set has.
    void CountOther(std::size_t line) { ++other_[line]; }
    // Takes back `times` pieces of a line counted in the held file or the other.
    void Uncount(std::size_t line, bool held, std::uint32_t times) {
        (held ? held_ : other_)[line] -= times;
    }

    std::size_t Lines() const { return places_.size(); }
    std::uint32_t Held(std::size_t line) const { return held_[line]; }
    std::uint32_t Other(std::size_t line) const { return other_[line]; }
    // Whether a line that both files hold is held a different number of times by each.
    bool AnyCounted() const;

private:
    compare::LineSet& set_;
    std::vector<std::uint32_t> places_; // where the set keeps each line, rising
    std::vector<std::uint32_t> held_;
    std::vector<std::uint32_t> other_;
};
