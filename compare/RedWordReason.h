#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace compare {

// Why the word comparison's walk left a word of a line unmatched, read off the walk itself (see
// ForEachUnmatchedWordOfLine). Word indices are 0-based; a message counts from 1.
struct RedWordReason {
    enum class Kind {
        Absent,         // the partner line has no equal word at all
        Passed,         // it has one, but a match before this word had used it up
        BeyondLookAhead // it has one, but further ahead than the walk looks from where it stood
    };
    Kind kind = Kind::Absent;
    std::size_t partnerLine = 0; // the partner line's number in the other text, from 0
    std::size_t word = 0;        // the red word's index in its line
    std::u16string_view text;    // the red word itself (a view into the line given)
    std::size_t partnerWord = 0; // Passed, BeyondLookAhead: the equal word the partner line has
    // Passed: the word of the line whose match used that one up, and the partner words that match
    // used up (from, to, both included: the words it skipped and the one it matched).
    std::size_t usedBy = 0;
    std::u16string_view usedByText;
    std::size_t usedFrom = 0;
    std::size_t usedTo = 0;
    // BeyondLookAhead: where the walk stood in the partner line, and how many words from there it
    // looks at (WindowSize of the line's word count).
    std::size_t walkAt = 0;
    std::size_t lookAhead = 0;
};

// Lines longer than this are not explained: the walk would be replayed on the window's thread.
inline constexpr std::size_t kLongestExplainedLine = std::size_t{1} << 20;

// Why word `word` of `line` is unmatched by `partner` (both lines without their line break);
// nothing when the walk matches it.
std::optional<RedWordReason> ExplainRedWordOfLine(std::u16string_view line, std::size_t word,
                                                  std::u16string_view partner);

// The same for the word that begins at `wordStart` of a pane's text, its line paired as the word
// comparison pairs it with a line of `otherPane`; nothing when no word begins there, the walk
// matches it, or the line is longer than kLongestExplainedLine.
std::optional<RedWordReason> ExplainRedWordAt(std::u16string_view ownPane, std::size_t wordStart,
                                              std::u16string_view otherPane);

} // namespace compare
