#include "compare/UnitOrigins.h"

#include <algorithm>

namespace compare {

void UnitOrigins::Add(std::size_t length, std::size_t from, std::size_t to, bool exact) {
    if (length == 0)
        return;
    if (!runs_.empty()) {
        Run& last = runs_.back();
        const bool continues = last.exact && exact && last.to == from;
        // A whole made from the same stretch as the run before belongs to it.
        const bool sameWhole = !last.exact && !exact && last.from == from && last.to == to;
        if (continues || sameWhole) {
            last.to = to;
            length_ += length;
            return;
        }
    }
    runs_.push_back({length_, from, to, exact});
    length_ += length;
}

std::size_t UnitOrigins::RunOf(std::size_t made) const {
    const auto after =
        std::upper_bound(runs_.begin(), runs_.end(), made,
                         [](std::size_t at, const Run& run) { return at < run.made; });
    return static_cast<std::size_t>(after - runs_.begin()) - 1;
}

std::size_t UnitOrigins::StartOf(std::size_t made) const {
    const Run& run = runs_[RunOf(made)];
    return run.exact ? run.from + (made - run.made) : run.from;
}

std::size_t UnitOrigins::EndOf(std::size_t made) const {
    const Run& run = runs_[RunOf(made)];
    return run.exact ? run.from + (made - run.made) + 1 : run.to;
}

std::pair<std::size_t, std::size_t> UnitOrigins::Original(std::size_t start,
                                                          std::size_t end) const {
    if (runs_.empty())
        return {0, 0};
    if (start == end) {
        const std::size_t at = start == 0 ? runs_.front().from : EndOf(start - 1);
        return {at, at};
    }
    return {StartOf(start), EndOf(end - 1)};
}

void UnitOrigins::AppendTo(UnitOrigins& into, std::size_t start, std::size_t end,
                           std::size_t length, bool exact) const {
    if (length == 0 || start == end) {
        const auto [from, to] = Original(start, end);
        into.Add(length, from, to, false);
        return;
    }
    if (!exact) {
        const auto [from, to] = Original(start, end);
        into.Add(length, from, to, false);
        return;
    }
    for (std::size_t i = RunOf(start); i < runs_.size() && runs_[i].made < end; ++i) {
        const Run& run = runs_[i];
        const std::size_t runEnd = i + 1 < runs_.size() ? runs_[i + 1].made : length_;
        const std::size_t from = std::max(start, run.made);
        const std::size_t to = std::min(end, runEnd);
        if (run.exact)
            into.Add(to - from, run.from + (from - run.made), run.from + (to - run.made), true);
        else
            into.Add(to - from, run.from, run.to, false);
    }
}

} // namespace compare
