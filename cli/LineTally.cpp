#include "cli/LineTally.h"

#include <algorithm>

void LineTally::AddHeld(std::u16string_view content, std::uint32_t hash) {
    if (const std::size_t line = Find(content, hash); line != kNone) {
        ++held_[line];
        return;
    }
    set_.Add(content, hash);
    places_.push_back(static_cast<std::uint32_t>(set_.Find(content, hash)));
    held_.push_back(1);
    other_.push_back(0);
}

std::size_t LineTally::Find(std::u16string_view content, std::uint32_t hash) const {
    const std::size_t place = set_.Find(content, hash);
    if (place == compare::LineSet::kNone)
        return kNone;
    return static_cast<std::size_t>(std::lower_bound(places_.begin(), places_.end(), place) -
                                    places_.begin());
}

bool LineTally::AnyCounted() const {
    for (std::size_t line = 0; line < places_.size(); ++line)
        if (held_[line] != 0 && other_[line] != 0 && other_[line] != held_[line])
            return true;
    return false;
}
