#pragma once

// The comparisons' rules spelled out as plainly as they can be, with none of the engine's
// cleverness, to hold the engine against in tests and fuzzing.
#include "compare/Lines.h"

#include <cmath>
#include <cstddef>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

namespace plain {

using Text = std::u16string_view;

// An unmatched word: `length` units from `start`.
struct WordMark {
    std::size_t start = 0;
    std::size_t length = 0;

    friend bool operator==(const WordMark&, const WordMark&) = default;
};
using Marks = std::vector<WordMark>;

inline void PrintTo(const WordMark& mark, std::ostream* out) {
    *out << '{' << mark.start << ", " << mark.length << '}';
}

inline std::vector<Text> CutAt(Text text, Text separator) {
    std::vector<Text> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t found = text.find(separator, start);
        pieces.push_back(text.substr(start, found == Text::npos ? Text::npos : found - start));
        if (found == Text::npos)
            return pieces;
        start = found + separator.size();
    }
}

// The lines of a text as the word comparison reads them: without the CR a load appends, cut at
// each CR LF; an empty text has none.
inline std::vector<Text> WordLines(Text text) {
    if (text.ends_with(u'\r'))
        text.remove_suffix(1);
    return text.empty() ? std::vector<Text>{} : CutAt(text, u"\r\n");
}

inline std::vector<Text> Words(Text line) {
    return line.empty() ? std::vector<Text>{} : CutAt(line, u" ");
}

// Each line of `own` with the number of its partner line in `otherLines` (none when there are no
// other lines): line i with line i while there is one, never with an empty last line, and from
// then on with the last line reached.
template <typename Pair>
void ForEachLinePair(const std::vector<Text>& ownLines, const std::vector<Text>& otherLines,
                     Pair&& pair) {
    std::size_t partner = 0;
    for (const Text line : ownLines) {
        pair(line, otherLines.empty() ? std::optional<std::size_t>{} : partner);
        const bool nextIsEmptyLastLine =
            partner + 2 == otherLines.size() && otherLines.back().empty();
        if (partner + 1 < otherLines.size() && !nextIsEmptyLastLine)
            ++partner;
    }
}

// How many partner words a word of a line of `count` words is looked for among.
inline std::size_t Window(std::size_t count) {
    return static_cast<std::size_t>(std::nearbyint((static_cast<double>(count) - 1) / 2 + 1));
}

// The indices of the words that `supply` does not supply, each looked for among the next few
// words not used up yet.
inline std::vector<std::size_t> UnmatchedWords(const std::vector<Text>& words,
                                               const std::vector<Text>& supply) {
    std::vector<std::size_t> unmatched;
    const std::size_t window = Window(words.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::size_t m = 0;
        while (m < window && !(next + m < supply.size() && supply[next + m] == words[i]))
            ++m;
        if (m < window)
            next += m + 1;
        else
            unmatched.push_back(i);
    }
    return unmatched;
}

// One direction of the word comparison.
inline Marks PlainPass(Text own, Text other) {
    const std::vector<Text> otherLines = WordLines(other);
    Marks marks;
    ForEachLinePair(WordLines(own), otherLines, [&](Text line, std::optional<std::size_t> partner) {
        const std::vector<Text> words = Words(line);
        const std::vector<Text> supply =
            partner ? Words(otherLines[*partner]) : std::vector<Text>{};
        for (const std::size_t i : UnmatchedWords(words, supply))
            marks.push_back(
                {static_cast<std::size_t>(words[i].data() - own.data()), words[i].size()});
    });
    return marks;
}

// The pieces of `text` cut at CR: an empty text has none.
inline std::vector<Text> Pieces(Text text) {
    std::vector<Text> pieces;
    for (std::size_t start = 0; !text.empty();) {
        const std::size_t cr = text.find(u'\r', start);
        pieces.push_back(text.substr(start, cr == Text::npos ? Text::npos : cr - start));
        if (cr == Text::npos)
            break;
        start = cr + 1;
    }
    return pieces;
}

// One direction of the line comparison: where each piece of `own` that no piece of `other` equals
// (less one leading LF each) begins.
inline std::vector<std::size_t> MissingPieces(Text own, Text other) {
    std::vector<std::size_t> missing;
    const std::vector<Text> theirs = Pieces(other);
    std::size_t start = 0;
    for (const Text piece : Pieces(own)) {
        bool found = false;
        for (const Text candidate : theirs)
            found = found || compare::LineContent(piece) == compare::LineContent(candidate);
        if (!found)
            missing.push_back(start);
        start += piece.size() + 1;
    }
    return missing;
}

// The word comparison's cutting rules applied one unit at a time, to hold the block-wise cuts
// against: where each line ends and each word starts.
struct CutByUnits {
    std::vector<std::size_t> lineEnds;
    std::vector<std::size_t> wordStarts;

    explicit CutByUnits(Text text) {
        std::size_t lineStart = 0;
        std::size_t wordStart = 0;
        for (std::size_t i = 0; i <= text.size() && !text.empty(); ++i) {
            const bool lineEnd = i == text.size() ||
                                 (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n');
            if (lineEnd) {
                if (i > lineStart)
                    wordStarts.push_back(wordStart);
                lineEnds.push_back(i);
                lineStart = wordStart = i + 2;
                ++i;
            } else if (text[i] == u' ') {
                wordStarts.push_back(wordStart);
                wordStart = i + 1;
            }
        }
    }
};

} // namespace plain
