#pragma once

#include "compare/LineWords.h"
#include "compare/PartnerLine.h"
#include "compare/WordComparison.h"

#include <cstddef>
#include <string_view>

namespace compare {

// The CR that a load appends at the end of a text belongs to no word: a text that ends with CR is
// compared without that one CR.
inline std::u16string_view WithoutFinalCR(std::u16string_view text) {
    return !text.empty() && text.back() == u'\r' ? text.substr(0, text.size() - 1) : text;
}

// How often a pass asks whether to go on: between lines, after this many lines, and inside a line
// of very many words, after this many words.
inline constexpr std::size_t kLinesBetweenChecks = 4096;
inline constexpr std::size_t kWordsBetweenChecks = std::size_t{1} << 20;

// One direction of the word comparison: calls unmatched(std::size_t start, std::size_t length) for
// each word of `own` that its partner line in `other` does not supply, in text order (start =
// 0-based offset into own, an empty word has length 0). Every few thousand lines it calls
// keepGoing(std::size_t unitsOfOwnDone) and stops when that returns false. Returns true when it
// reached the end.
//
// Line i of `own` is paired with line i of `other` while `other` has it, never with an empty last
// line of `other`, and from then on with the last line reached; when `other` is empty, with an
// empty line. Each word is looked for among the next few partner words not used up yet (see
// WindowSize); a match uses up every partner word up to it. Both texts are walked a line at a
// time: what is kept grows with the longest line, not with the texts.
template <typename Unmatched, typename KeepGoing>
bool ForEachUnmatchedWord(std::u16string_view own, std::u16string_view other, Unmatched&& unmatched,
                          KeepGoing&& keepGoing) {
    own = WithoutFinalCR(own);
    PartnerLine partner(WithoutFinalCR(other));
    LineCut cut;
    std::size_t linesSinceCheck = 0;
    for (std::size_t lineStart = 0; !own.empty();) {
        const LineExtent line = cut.Cut(own, lineStart);
        if (line.words > 0) {
            const std::size_t window = WindowSize(line.words);
            std::size_t next = 0; // the first partner word not used up
            std::size_t counted = 0;
            const bool finished = cut.ForEachWord([&](std::size_t start, std::size_t end) {
                if (++counted % kWordsBetweenChecks == 0 && !keepGoing(start))
                    return false;
                const std::u16string_view word(own.data() + start, end - start);
                const std::size_t found = partner.Find(word, WordKey(word), next, window);
                if (found == PartnerLine::kNotFound)
                    unmatched(start, end - start);
                else
                    next = found + 1;
                return true;
            });
            if (!finished)
                return false;
        }
        if (!line.hasNext)
            break;
        lineStart = line.end + 2;
        partner.MoveOn();
        if (++linesSinceCheck == kLinesBetweenChecks) {
            linesSinceCheck = 0;
            if (!keepGoing(lineStart))
                return false;
        }
    }
    return true;
}

} // namespace compare
