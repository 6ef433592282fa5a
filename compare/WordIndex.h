#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace compare {

// A text cut into lines at every CR LF pair and each line into words at every single blank, once,
// so that both passes of a word comparison can walk it without scanning it again:
// - the pair is dropped; a lone CR or LF stays inside its line and its word;
// - an empty text has no lines; a text ending in CR LF has an empty last line;
// - an empty line has no words; two blanks in a row, or a blank at either end of a line, give an
//   empty word.
// Refers into the text, which must outlive it.
class WordIndex {
public:
    // Throws std::length_error for a text of 2^32 units or more.
    explicit WordIndex(std::u16string_view text);

    std::u16string_view Text() const { return text_; }
    std::size_t LineCount() const { return lineEnds_.size(); }
    std::size_t LineStart(std::size_t line) const {
        return line == 0 ? 0 : lineEnds_[line - 1] + 2;
    }
    std::u16string_view Line(std::size_t line) const {
        return text_.substr(LineStart(line), lineEnds_[line] - LineStart(line));
    }
    // The words of `line` are those from FirstWord(line) up to FirstWord(line + 1).
    std::size_t FirstWord(std::size_t line) const { return firstWords_[line]; }
    std::size_t WordCount(std::size_t line) const { return FirstWord(line + 1) - FirstWord(line); }
    std::size_t WordStart(std::size_t word) const { return wordStarts_[word]; }
    std::u16string_view Word(std::size_t line, std::size_t word) const {
        const std::size_t end =
            word + 1 < FirstWord(line + 1) ? wordStarts_[word + 1] - 1 : lineEnds_[line];
        return text_.substr(wordStarts_[word], end - wordStarts_[word]);
    }

private:
    void Cut();

    std::u16string_view text_;
    std::vector<std::uint32_t> lineEnds_;   // where each line's CR LF (or the text) begins
    std::vector<std::uint32_t> firstWords_; // each line's first word, then the number of words
    std::vector<std::uint32_t> wordStarts_; // where each word begins
};

} // namespace compare
