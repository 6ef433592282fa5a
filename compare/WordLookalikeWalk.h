#pragma once

#include "compare/CrLfLines.h"
#include "compare/LookalikeWords.h"
#include "compare/NearLookalikeWord.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace compare {

// The look-alikes of red words of one direction of the word comparison, asked for in text order:
// the one walk behind every search of them (the tool's --explain, the window's count and its
// tooltips). The lines of both texts are walked alongside; on a line with red words its words are
// counted off blank by blank up to each red word, and only the partner words near it (see
// NearLookalikeWord.h) are keyed, so that the walk takes time in proportion to the text and
// memory for a few words, however long a line.
class WordLookalikeWalk {
public:
    // The two pane texts, as the word comparison reads them (see WordComparisonText).
    WordLookalikeWalk(std::u16string_view ownPane, std::u16string_view otherPane);
    // From the line `line` of `own` on, paired with `partner` of `other`; the texts as the
    // comparison reads them.
    WordLookalikeWalk(std::u16string_view own, std::u16string_view other,
                      const CrLfLineWalker& line, const PartnerLineWalker& partner);

    // The look-alike of the word that `start` of the own text belongs to: a place inside a word,
    // or the blank after it, stands for the word, and a place on a line's CR LF for its last word.
    // Nothing for a place past the text or on an empty line. `start` is at or after the place
    // asked for before.
    std::optional<WordLookalike> Next(std::size_t start);

private:
    // Moves to the line `start` belongs to (a place on a line's CR LF counts with that line);
    // false when the text has no such line.
    bool MoveTo(std::size_t start);
    void StartLine();
    // Moves on to the word of the line that `start` belongs to.
    void MoveToWordAt(std::size_t start);
    // Where the word reached ends: at the blank after it or at the line's end.
    std::size_t WordEnd();

    std::u16string_view own_;
    std::u16string_view other_;
    CrLfLineWalker line_;
    PartnerLineWalker partner_;
    bool lineStarted_ = false;
    std::size_t word_ = 0;               // the index on its line of the word reached
    std::size_t wordStart_ = 0;          // where it begins
    std::optional<std::size_t> wordEnd_; // where it ends, once found
    std::size_t reach_ = 0;              // how far from its place a word of the line looks
    NearWords near_;
};

} // namespace compare
