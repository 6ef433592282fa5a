#pragma once

#include "compare/FindUnit.h"
#include "compare/LineStream.h"
#include "compare/LineWords.h"
#include "compare/PartnerLine.h"
#include "compare/StreamedPartner.h"
#include "compare/WordComparison.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace compare {

// The CR that a load appends at the end of a text belongs to no word: a text that ends with CR is
// compared without that one CR.
inline std::u16string_view WithoutFinalCR(std::u16string_view text) {
    return !text.empty() && text.back() == u'\r' ? text.substr(0, text.size() - 1) : text;
}

// At least as many words as the line of `text` with the most has: what a far search's index of a
// partner line in `text` can come to (see PartnerLine::IndexBytes). Long lines have their blanks
// counted; a short one is taken to be all one-unit words.
inline std::size_t MostWordsOnALine(std::u16string_view text) {
    constexpr std::size_t kCounted = 4096;
    std::size_t most = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = FindUnit(text, u'\r', start);
        while (end + 1 < text.size() && text[end + 1] != u'\n')
            end = FindUnit(text, u'\r', end + 1);
        const std::u16string_view line = text.substr(start, end - start);
        most = std::max(most, line.size() < kCounted
                                  ? (line.size() + 1) / 2
                                  : 1 + static_cast<std::size_t>(
                                            std::count(line.begin(), line.end(), kWordBlank)));
        start = end + 2;
    }
    return most;
}

// How often a pass asks whether to go on: between lines, after this many lines, and inside a line
// of very many words, after this many words.
inline constexpr std::size_t kLinesBetweenChecks = 4096;
inline constexpr std::size_t kWordsBetweenChecks = std::size_t{1} << 20;

// The words of the line `cut` cut last, `line`, that `partner` does not supply: unmatched(start,
// length) for each, with the start in the text that was cut. Each word is looked for among the
// next few partner words not used up yet (see WindowSize); a match uses up every partner word up
// to it. Inside a line of very many words keepGoing(start) is asked from time to time; returns
// false when it said to stop.
template <typename Unmatched, typename KeepGoing>
bool ForEachUnmatchedWordOfLine(const LineCut& cut, const LineExtent& line,
                                std::u16string_view text, PartnerLine& partner,
                                Unmatched&& unmatched, KeepGoing&& keepGoing) {
    if (line.words == 0)
        return true;
    const std::size_t window = WindowSize(line.words);
    std::size_t next = 0; // the first partner word not used up
    std::size_t counted = 0;
    return cut.ForEachWord([&](std::size_t start, std::size_t end) {
        if (++counted % kWordsBetweenChecks == 0 && !keepGoing(start))
            return false;
        const std::u16string_view word(text.data() + start, end - start);
        const std::size_t found = partner.Find(word, WordKey(word), next, window);
        if (found == PartnerLine::kNotFound)
            unmatched(start, end - start);
        else
            next = found + 1;
        return true;
    });
}

// One direction of the word comparison: calls unmatched(std::size_t start, std::size_t length) for
// each word of `own` that its partner line in `other` does not supply, in text order (start =
// 0-based offset into own, an empty word has length 0). Every few thousand lines it calls
// keepGoing(std::size_t unitsOfOwnDone) and stops when that returns false. Returns true when it
// reached the end.
//
// Line i of `own` is paired with line i of `other` while `other` has it, never with an empty last
// line of `other`, and from then on with the last line reached; when `other` is empty, with an
// empty line. Both texts are walked a line at a time: what is kept grows with the longest line,
// not with the texts.
template <typename Unmatched, typename KeepGoing>
bool ForEachUnmatchedWord(std::u16string_view own, std::u16string_view other, Unmatched&& unmatched,
                          KeepGoing&& keepGoing) {
    own = WithoutFinalCR(own);
    PartnerLine partner(WithoutFinalCR(other));
    LineCut cut;
    std::size_t linesSinceCheck = 0;
    for (std::size_t lineStart = 0; !own.empty();) {
        const LineExtent line = cut.Cut(own, lineStart);
        if (!ForEachUnmatchedWordOfLine(cut, line, own, partner, unmatched, keepGoing))
            return false;
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

// The same for texts that arrive a chunk at a time, for a caller that cannot hold them whole:
// ownChunks() and otherChunks() give the next chunk of each, empty at the end. Only the current
// line of `own` and the partner line are kept, so unmatched(start, word) is handed the word too.
template <typename OwnChunks, typename OtherChunks, typename Unmatched>
void ForEachUnmatchedWordStreamed(OwnChunks&& ownChunks, OtherChunks&& otherChunks,
                                  Unmatched&& unmatched) {
    LineStream own(std::ref(ownChunks));
    StreamedPartner<std::remove_reference_t<OtherChunks>> other(otherChunks);
    PartnerLine partner(other.Text());
    LineCut cut;
    const auto goOn = [](std::size_t) { return true; };
    while (const auto line = own.Next()) {
        const LineExtent extent = cut.Cut(line->text, 0);
        ForEachUnmatchedWordOfLine(
            cut, extent, line->text, partner,
            [&](std::size_t start, std::size_t length) {
                unmatched(line->start + start, line->text.substr(start, length));
            },
            goOn);
        if (!line->hasNext)
            break;
        if (other.MoveOn())
            partner.Use(other.Text());
        else
            partner.Rewind();
    }
}

} // namespace compare
