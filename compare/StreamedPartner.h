#pragma once

#include "compare/LineStream.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace compare {

// The partner line of a word comparison over a text that arrives a chunk at a time: the other
// text's line at the same place as the own line being compared, kept in a buffer of its own. It
// moves on only when the other text's next line begins inside the text; past the other text's
// last line the partner stays that line, as it does when both texts are held whole.
template <typename OtherChunks> class StreamedPartner {
public:
    explicit StreamedPartner(OtherChunks& otherChunks) : lines_(std::ref(otherChunks)) {
        if (const auto first = lines_.Next())
            Take(*first);
    }

    // Moves to the other text's next line; false, the partner unchanged, when there is none.
    bool MoveOn() {
        const auto next = hasNext_ ? lines_.Next() : std::nullopt;
        if (next && (!next->text.empty() || next->hasNext)) {
            Take(*next);
            return true;
        }
        hasNext_ = false;
        return false;
    }

    const std::u16string& Text() const { return text_; }
    std::size_t Start() const { return start_; }   // where it begins in the other text
    std::size_t Number() const { return number_; } // from 1; 0: the other text has no line

private:
    using Lines = LineStream<std::reference_wrapper<OtherChunks>>;

    void Take(const typename Lines::Line& line) {
        text_.assign(line.text);
        hasNext_ = line.hasNext;
        start_ = line.start;
        ++number_;
    }

    Lines lines_;
    std::u16string text_;
    bool hasNext_ = false;
    std::size_t start_ = 0;
    std::size_t number_ = 0;
};

} // namespace compare
