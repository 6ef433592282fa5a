#pragma once

#include "compare/WordComparison.h"
#include "compare/WordIndex.h"

#include <cstddef>
#include <string_view>

namespace compare {

// The CR that a load appends at the end of a text belongs to no word: a text that ends with CR is
// compared without that one CR.
inline std::u16string_view WithoutFinalCR(std::u16string_view text) {
    return !text.empty() && text.back() == u'\r' ? text.substr(0, text.size() - 1) : text;
}

// How many lines a pass handles between two calls of its keepGoing.
inline constexpr std::size_t kLinesBetweenChecks = 4096;

// One direction of the word comparison: calls unmatched(std::size_t start, std::size_t length) for
// each word of `own` that its partner line in `other` does not supply, in text order (start =
// 0-based offset into own, an empty word has length 0). Every few thousand lines it calls
// keepGoing(std::size_t unitsOfOwnDone) and stops when that returns false. Returns true when it
// reached the end.
template <typename Unmatched, typename KeepGoing>
bool ForEachUnmatchedWord(std::u16string_view own, std::u16string_view other, Unmatched&& unmatched,
                          KeepGoing&& keepGoing) {
    const WordIndex ownIndex(WithoutFinalCR(own));
    const WordIndex otherIndex(WithoutFinalCR(other));
    const bool hasPartner = otherIndex.LineCount() > 0;
    std::size_t partner = 0;
    PartnerKeys keys(otherIndex);
    const auto report = [&](std::size_t start, std::u16string_view word) {
        unmatched(start, word.size());
    };
    for (std::size_t line = 0; line < ownIndex.LineCount(); ++line) {
        if (line % kLinesBetweenChecks == 0 && line > 0 && !keepGoing(ownIndex.LineStart(line)))
            return false;
        const std::size_t first = hasPartner ? otherIndex.FirstWord(partner) : 0;
        const std::size_t end = hasPartner ? otherIndex.FirstWord(partner + 1) : 0;
        keys.Use(partner);
        FindWordDifferencesInLine(ownIndex, line, otherIndex, partner, first, end, keys, report);
        if (hasPartner && partner + 1 < otherIndex.LineCount() &&
            otherIndex.LineStart(partner + 1) < otherIndex.Text().size())
            ++partner;
    }
    return true;
}

} // namespace compare
