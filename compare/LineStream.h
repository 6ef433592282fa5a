#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace compare {

// The lines of a text that arrives a chunk at a time, cut as the word comparison cuts them: at
// every CR LF pair, and without the one CR that a load appends at the end of a text. A line that
// spans chunks is gathered in a buffer, so that what is kept grows with the longest line.
// `NextChunk` is a callable that gives the next chunk, empty at the end.
template <typename NextChunk> class LineStream {
public:
    struct Line {
        std::u16string_view text; // valid until the next call of Next
        std::size_t start = 0;    // where it begins in the whole text
        bool hasNext = false;     // a CR LF ends it, so another line follows
    };

    explicit LineStream(NextChunk next) : next_(std::move(next)) {}

    // The next line; nothing once there are no more (an empty text has none).
    std::optional<Line> Next() {
        if (done_)
            return std::nullopt;
        carry_.clear();
        const std::size_t start = lineStart_;
        for (;;) {
            if (pos_ == chunk_.size() && !Fetch())
                return Last(start);
            // A CR that ended the last chunk is answered by the first unit of this one.
            if (!carry_.empty() && carry_.back() == u'\r' && pos_ == 0 && chunk_.front() == u'\n') {
                carry_.pop_back();
                pos_ = 1;
                return Ended(start, carry_, 2);
            }
            const std::size_t cr = chunk_.find(u'\r', pos_);
            if (cr != std::u16string_view::npos && cr + 1 < chunk_.size()) {
                const std::size_t from = pos_;
                pos_ = cr + 1;
                if (chunk_[cr + 1] != u'\n') { // a lone CR stays inside its line
                    carry_.append(chunk_.substr(from, pos_ - from));
                    continue;
                }
                ++pos_;
                if (carry_.empty())
                    return Ended(start, chunk_.substr(from, cr - from), 2);
                carry_.append(chunk_.substr(from, cr - from));
                return Ended(start, carry_, 2);
            }
            carry_.append(chunk_.substr(pos_));
            pos_ = chunk_.size();
        }
    }

private:
    bool Fetch() {
        chunkStart_ += chunk_.size();
        chunk_ = next_();
        pos_ = 0;
        return !chunk_.empty();
    }

    Line Ended(std::size_t start, std::u16string_view text, std::size_t breakUnits) {
        lineStart_ = start + text.size() + breakUnits;
        seen_ = true;
        return {text, start, true};
    }

    std::optional<Line> Last(std::size_t start) {
        done_ = true;
        if (!seen_ && carry_.empty())
            return std::nullopt;
        if (!carry_.empty() && carry_.back() == u'\r')
            carry_.pop_back(); // the CR a load appends belongs to no word
        if (!seen_ && carry_.empty())
            return std::nullopt; // a text of that one CR has no lines
        return Line{carry_, start, false};
    }

    NextChunk next_;
    std::u16string_view chunk_;
    std::size_t chunkStart_ = 0;
    std::size_t pos_ = 0;
    std::size_t lineStart_ = 0;
    std::u16string carry_;
    bool seen_ = false; // a line break has been passed
    bool done_ = false;
};

} // namespace compare
