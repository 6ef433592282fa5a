#pragma once

#include "compare/CrLfLines.h"
#include "compare/LookalikeWords.h"
#include "compare/NearLookalikeWord.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace compare {

// The look-alikes of the red words of one direction of the word comparison, asked for in text
// order as the comparison finds them: the lines of both texts are walked once, alongside, and
// only a line with red words is keyed, with its partner line (kept while it stays the partner).
// Each look-alike is the one FindLookalikeWordAt gives, except that a word on a line longer than
// kLongestLookalikeLine, or whose partner line is, has none: keying such a line would take many
// times its size.
class WordLookalikeWalk {
public:
    // The two pane texts, as the word comparison reads them (see WordComparisonText).
    WordLookalikeWalk(std::u16string_view ownPane, std::u16string_view otherPane);

    // The look-alike of the red word that begins at `start` of the own text; `start` is at or
    // after that of the word asked for before.
    std::optional<WordLookalike> Next(std::size_t start);

private:
    // Moves to the line `start` belongs to (a place on a line's CR LF counts with that line);
    // false when the text has no such line.
    bool MoveTo(std::size_t start);

    std::u16string_view own_;
    std::u16string_view other_;
    CrLfLineWalker line_;
    PartnerLineWalker partner_;
    KeyedLineWords ownWords_;
    KeyedLineWords partnerWords_;
    bool ownKeyed_ = false;
    std::size_t word_ = 0; // the own line's word the last red word began in
    std::size_t partnerKeyed_ = static_cast<std::size_t>(-1);
};

} // namespace compare
