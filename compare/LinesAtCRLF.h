#pragma once

#include <cstddef>
#include <string_view>

namespace compare {

inline constexpr std::u16string_view kCRLF = u"\r\n";

// End of the line that begins at `start` in a text cut at CR LF: the next CR LF pair, or the end.
inline std::size_t LineEndAtCRLF(std::u16string_view text, std::size_t start) {
    const std::size_t pair = text.find(kCRLF, start);
    return pair == std::u16string_view::npos ? text.size() : pair;
}

// Calls `visit(start, line)` for each line of `text` cut at every CR LF pair, in order, with the
// line's 0-based start in `text`. The pair is dropped; a lone CR or LF stays inside its line. An
// empty text has no lines; a text ending in CR LF has an empty last line.
template <typename Visit> void ForEachLineAtCRLF(std::u16string_view text, Visit&& visit) {
    if (text.empty())
        return;
    for (std::size_t start = 0;;) {
        const std::size_t end = LineEndAtCRLF(text, start);
        visit(start, text.substr(start, end - start));
        if (end == text.size())
            return;
        start = end + kCRLF.size();
    }
}

} // namespace compare
