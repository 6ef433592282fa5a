#pragma once

#include "compare/WordIndex.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace compare {

// How many partner words, from the first one not used up, a word of a line of `wordCount` words
// is looked for among: (n - 1) / 2 + 1, a value halfway between two integers going to the even one.
std::size_t WindowSize(std::size_t wordCount);

// Most words looked at differ in length or in their first unit, which is seen without a call.
inline bool SameWord(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           (a.empty() || (a.front() == b.front() &&
                          std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0));
}

// A word summed up in one number, for a first comparison without reading the text: its length and
// its first and last units. Equal words have equal keys; most unequal words do not.
inline std::uint64_t WordKey(std::u16string_view word) {
    if (word.empty())
        return 0;
    return std::uint64_t{word.size()} << 32 | std::uint64_t{word.front()} << 16 | word.back();
}

// The keys of the words of one partner line of `index`, worked out only as far as the look-ahead
// has reached: a partner line that many lines are paired with, or that is far longer than they
// are, then costs no more than the searches in it.
class PartnerKeys {
public:
    explicit PartnerKeys(const WordIndex& index) : index_(index) {}
    // Keys for `line` from now on; those already worked out for it are kept.
    void Use(std::size_t line) {
        if (line != line_)
            keys_.clear();
        line_ = line;
    }
    // The keys of the line's first `count` words.
    const std::uint64_t* Reach(std::size_t count) {
        for (std::size_t word = index_.FirstWord(line_) + keys_.size(); keys_.size() < count;
             ++word)
            keys_.push_back(WordKey(index_.Word(line_, word)));
        return keys_.data();
    }

private:
    const WordIndex& index_;
    std::size_t line_ = 0;
    std::vector<std::uint64_t> keys_;
};

// Marks the words of line `line` of `own` that its partner line (words [partnerFirst,
// partnerEnd) of `other`, whose keys `partnerKeys` gives) does not supply. Each word is looked for
// among the next few partner words not used up yet; a match uses up every partner word up to it.
// Calls `unmatched(start, word)` for each word not found, in order, with its 0-based place in
// `own`.
template <typename Unmatched>
void FindWordDifferencesInLine(const WordIndex& own, std::size_t line, const WordIndex& other,
                               std::size_t partnerLine, std::size_t partnerFirst,
                               std::size_t partnerEnd, PartnerKeys& partnerKeys,
                               Unmatched&& unmatched) {
    const std::size_t window = WindowSize(own.WordCount(line));
    std::size_t next = partnerFirst; // the first partner word not used up
    for (std::size_t word = own.FirstWord(line); word < own.FirstWord(line + 1); ++word) {
        const std::u16string_view text = own.Word(line, word);
        // Candidates past the end of the partner line count against the window but can never
        // match.
        const std::size_t reachable = std::min(window, partnerEnd - next);
        const std::uint64_t* keys =
            partnerKeys.Reach(next - partnerFirst + reachable) + (next - partnerFirst);
        const std::uint64_t key = WordKey(text);
        std::size_t m = 0;
        while (m < reachable &&
               (keys[m] != key || !SameWord(other.Word(partnerLine, next + m), text)))
            ++m;
        if (m < reachable)
            next += m + 1;
        else
            unmatched(own.WordStart(word), text);
    }
}

// One direction of the word comparison. Each line of `own` is compared with its partner line of
// `other`: line i with line i while `other` has it, never with an empty last line of `other`, and
// from then on with the last line reached; when `other` is empty, with an empty line.
template <typename Unmatched>
void ForEachUnmatchedWordOfPass(const WordIndex& own, const WordIndex& other,
                                Unmatched&& unmatched) {
    const bool hasPartner = other.LineCount() > 0;
    std::size_t partner = 0;
    PartnerKeys keys(other);
    for (std::size_t line = 0; line < own.LineCount(); ++line) {
        const std::size_t first = hasPartner ? other.FirstWord(partner) : 0;
        const std::size_t end = hasPartner ? other.FirstWord(partner + 1) : 0;
        keys.Use(partner);
        FindWordDifferencesInLine(own, line, other, partner, first, end, keys, unmatched);
        // The partner moves on only when the next line begins inside the text.
        if (hasPartner && partner + 1 < other.LineCount() &&
            other.LineStart(partner + 1) < other.Text().size())
            ++partner;
    }
}

// An unmatched word: `length` units from the 0-based `start` in its text. An empty word keeps its
// place with length 0, so that a caller can still put the selection there.
struct WordMark {
    std::size_t start = 0;
    std::size_t length = 0;

    friend bool operator==(const WordMark&, const WordMark&) = default;
};

// One direction collected: where the unmatched words stand, and their list, each word preceded
// by CR LF.
struct WordPass {
    std::u16string list;
    std::vector<WordMark> marks;
};

WordPass ComparePass(std::u16string_view own, std::u16string_view other);

} // namespace compare
