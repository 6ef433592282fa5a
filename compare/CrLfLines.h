#pragma once

#include "compare/FindUnit.h"
#include "compare/Lines.h"

#include <cstddef>
#include <string_view>

// The lines of the word comparison walked one at a time, without an index of the whole text:
// what the look-alike searches need to find a word's line and its partner line.
namespace compare {

// A pane's text as the word comparison reads it: the CR that every load appends at the end
// belongs to no line and no word, so a text ending in CR is read without that one CR.
inline std::u16string_view WordComparisonText(std::u16string_view paneText) {
    return !paneText.empty() && paneText.back() == kCR ? paneText.substr(0, paneText.size() - 1)
                                                       : paneText;
}

// Where the next CR LF pair stands in `text` from `from` on, or text.size(). A lone CR is part of
// its line.
inline std::size_t FindCrLf(std::u16string_view text, std::size_t from) {
    for (std::size_t cr = FindUnit(text, kCR, from); cr < text.size();
         cr = FindUnit(text, kCR, cr + 1))
        if (cr + 1 < text.size() && text[cr + 1] == kLF)
            return cr;
    return text.size();
}

// The lines of a text cut at every CR LF pair, from the first on: an empty text has none, a
// text ending in CR LF ends with an empty line.
class CrLfLineWalker {
public:
    explicit CrLfLineWalker(std::u16string_view text)
        : text_(text), end_(text.empty() ? 0 : FindCrLf(text, 0)) {}

    bool HasLine() const { return !text_.empty(); }
    std::size_t Number() const { return number_; } // from 0
    std::size_t Start() const { return start_; }
    std::size_t End() const { return end_; } // where its CR LF, or the text's end, stands
    std::u16string_view Line() const { return text_.substr(start_, end_ - start_); }
    bool HasNext() const { return end_ < text_.size(); }
    // On to the next line; there must be one.
    void Next() {
        start_ = end_ + 2;
        end_ = FindCrLf(text_, start_);
        ++number_;
    }

private:
    std::u16string_view text_;
    std::size_t number_ = 0;
    std::size_t start_ = 0;
    std::size_t end_;
};

// The partner line of the word comparison, walked along with the lines of the text it is
// compared with: line i of that text is paired with line i of this one while this one has it,
// never with an empty last line, and from then on with the last line reached.
class PartnerLineWalker {
public:
    explicit PartnerLineWalker(std::u16string_view text) : line_(text), size_(text.size()) {}

    bool HasLine() const { return line_.HasLine(); } // false: the text is empty
    const CrLfLineWalker& Line() const { return line_; }
    // The partner of the next line; false when it stays the same. The partner moves on only when
    // the line after it begins inside the text.
    bool Next() {
        if (!line_.HasLine() || line_.End() + 2 >= size_)
            return false;
        line_.Next();
        return true;
    }

private:
    CrLfLineWalker line_;
    std::size_t size_;
};

} // namespace compare
