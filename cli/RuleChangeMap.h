#pragma once

#include "compare/LookalikeKinds.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Where in a text of ASCII bytes the rules about blanks, tabs and case (those ByteRuleKey
// serves) may make a line's key other than its bytes: a bit a byte, set on every capital under
// case, on every tab and every blank or tab after another under inner-space, and on every blank
// or tab beside a CR, an LF or either end of the text under leading-space or trailing-space. A
// line none of whose bytes is marked is its own key, so most lines need no key made; one with a
// mark may still be (the marks only ever say too much), and has its key made to tell.
//
// The text is read sixty-four bytes at a time, sixteen at once, a part at a time as it is asked
// for (MarkThrough), so that it is marked while it is in the cache as it is cut; only the marks of
// the last kKeptBytes bytes marked are kept, and a stretch that begins before them counts as
// marked.
class RuleChangeMap {
public:
    RuleChangeMap(std::string_view bytes, compare::LookalikeKinds kinds);

    // Marks the text at least as far as byte `to` (not included); all of it when that is its end.
    void MarkThrough(std::size_t to) {
        if (to > marked_)
            MarkPart(to);
    }
    // Whether a byte of [from, to) is marked, or [from, to) begins before the marks kept; it must
    // be marked through.
    bool AnyIn(std::size_t from, std::size_t to) const {
        if (from >= to)
            return false;
        const std::size_t first = from / 64, last = (to - 1) / 64;
        if (first + kKeptWords < words_)
            return true;
        const std::uint64_t head = ~std::uint64_t{0} << (from % 64);
        const std::uint64_t tail = ~std::uint64_t{0} >> (63 - (to - 1) % 64);
        // Most lines are in one word or two: read both ends without asking which.
        const std::uint64_t ends =
            (Word(first) & head & (first == last ? tail : ~std::uint64_t{0})) |
            (Word(last) & tail & (first == last ? head : ~std::uint64_t{0}));
        if (ends != 0)
            return true;
        for (std::size_t word = first + 1; word < last; ++word)
            if (Word(word) != 0)
                return true;
        return false;
    }

    // The marks kept: a few blocks of cutting, and what is marked ahead of them.
    static constexpr std::size_t kKeptWords = 4096;
    static constexpr std::size_t kKeptBytes = 64 * kKeptWords;

    // What sixty-four bytes of the text hold, a bit a byte.
    struct Kinds {
        std::uint64_t capitals = 0;
        std::uint64_t blanks = 0;
        std::uint64_t tabs = 0;
        std::uint64_t breaks = 0; // CR or LF
    };

private:
    std::uint64_t Word(std::size_t word) const { return marks_[word % kKeptWords]; }
    void MarkPart(std::size_t to);
    template <bool kFold, bool kSpaces, bool kEdges> void MarkWords(std::size_t until);

    std::string_view bytes_;
    bool fold_;
    bool inner_;
    bool edges_;
    std::vector<std::uint64_t> marks_; // word w at w % kKeptWords
    std::size_t marked_ = 0;           // bytes marked: whole words, or the whole text
    std::size_t words_ = 0;            // words marked
    std::size_t wordCount_;            // words of the text, with the one its end stands in
    Kinds next_;                       // the word after the last marked
    std::uint64_t lastSpace_ = 0;
    std::uint64_t lastBreak_ = 1; // the text's start stands for a break
};
