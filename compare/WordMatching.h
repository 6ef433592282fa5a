#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace compare {

inline constexpr char16_t kBlank = u' ';

// Calls `visit(offset, word)` for each word of `text` cut at every single blank, in order, with
// the word's offset in `text`. Two blanks in a row, or a blank at either end, give an empty word;
// an empty text has no words.
template <typename Visit> void ForEachWordAtBlank(std::u16string_view text, Visit&& visit) {
    if (text.empty())
        return;
    for (std::size_t start = 0;;) {
        const std::size_t blank = text.find(kBlank, start);
        const std::size_t end = blank == std::u16string_view::npos ? text.size() : blank;
        visit(start, text.substr(start, end - start));
        if (end == text.size())
            return;
        start = end + 1;
    }
}

std::size_t CountWordsAtBlank(std::u16string_view text);

// Replaces the content of `words` with the words of `text`, so that its storage can be reused.
void CutAtBlanks(std::u16string_view text, std::vector<std::u16string_view>& words);

// How many partner words, from the cursor on, a word of a line of `wordCount` words is looked for
// among: (n - 1) / 2 + 1, a value halfway between two integers going to the even one.
std::size_t WindowSize(std::size_t wordCount);

// The partner line's words that are not used up yet. The cursor only moves forward.
class PartnerCursor {
public:
    PartnerCursor(std::span<const std::u16string_view> words, std::size_t window)
        : words_(words), window_(window) {}

    // Looks for `word` among the next `window` partner words. A match uses up every partner word
    // up to and including it; a miss leaves the cursor where it is.
    bool TakeMatch(std::u16string_view word);

private:
    std::span<const std::u16string_view> words_;
    std::size_t window_;
    std::size_t next_ = 0;
};

// Calls `unmatched(offset, word)`, in order, for each word of `line` that the in-order walk with
// its bounded look-ahead does not find among `partnerWords`; `offset` is the word's place in
// `line`. Case and every character other than the blank count.
template <typename Unmatched>
void ForEachUnmatchedWord(std::u16string_view line,
                          std::span<const std::u16string_view> partnerWords,
                          Unmatched&& unmatched) {
    PartnerCursor partner(partnerWords, WindowSize(CountWordsAtBlank(line)));
    ForEachWordAtBlank(line, [&](std::size_t offset, std::u16string_view word) {
        if (!partner.TakeMatch(word))
            unmatched(offset, word);
    });
}

} // namespace compare
