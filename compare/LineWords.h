#pragma once

#include "compare/UnitScan.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// The word comparison's cutting rules, applied one line at a time so that nothing is kept of a
// text but the line being looked at:
// - a line ends at a CR LF pair (dropped) or at the end of the text; a lone CR or LF stays inside
//   its line and its word;
// - an empty text has no lines; a text ending in CR LF has an empty last line;
// - an empty line has no words; every single blank ends a word, so two blanks in a row, or a
//   blank at either end of a line, give an empty word.
namespace compare {

inline constexpr char16_t kWordBlank = u' ';

struct LineExtent {
    std::size_t end = 0;   // where the line's CR LF, or the text, begins
    std::size_t words = 0; // 0 for an empty line
    bool hasNext = false;  // a CR LF ends it, so another line follows
};

// Set bits of a 32-bit mask. std::popcount becomes a library call on processors that the build
// cannot assume to count bits in one instruction.
inline std::size_t CountBits(std::uint32_t mask) {
    mask -= (mask >> 1) & 0x55555555u;
    mask = (mask & 0x33333333u) + ((mask >> 2) & 0x33333333u);
    mask = (mask + (mask >> 4)) & 0x0F0F0F0Fu;
    return (mask * 0x01010101u) >> 24;
}

// Cuts lines one at a time: where a line ends, how many words it has, and where its blanks stand,
// found sixteen units at a time. A line of very many words keeps only their count, and is walked
// again word by word, so that what is kept stays small.
class LineCut {
public:
    static constexpr std::size_t kHeldBlanks = std::size_t{1} << 16;

    // The line that begins at `start` (at most text.size()).
    LineExtent Cut(std::u16string_view text, std::size_t start) {
        text_ = text;
        start_ = start;
        heldCount_ = 0;
        holding_ = true;
        counted_ = 0;
        const char16_t* units = text.data();
        const std::size_t size = text.size();
        // Blocks are read where the text's blocks fall, so that no read straddles two cache
        // lines; the units of the first one before `start` are masked off.
        std::size_t i = start - start % kScanUnits;
        std::uint32_t before = ~std::uint32_t{0} << (start - i);
        for (; i + kScanUnits <= size; i += kScanUnits, before = ~std::uint32_t{0}) {
            const UnitMasks masks = EqualMasks(units + i, kWordBlank, u'\r');
            for (std::uint32_t crs = masks.b & before; crs != 0; crs &= crs - 1) {
                const int bit = std::countr_zero(crs);
                const std::size_t at = i + static_cast<std::size_t>(bit);
                if (at + 1 < size && units[at + 1] == u'\n') {
                    Hold(masks.a & before & ((std::uint32_t{1} << bit) - 1), i);
                    return Finish(at, true);
                }
            }
            Hold(masks.a & before, i);
        }
        for (i = std::max(i, start); i < size; ++i) {
            if (units[i] == kWordBlank)
                Hold(1, i);
            else if (units[i] == u'\r' && i + 1 < size && units[i + 1] == u'\n')
                return Finish(i, true);
        }
        return Finish(size, false);
    }

    // Calls word(start, end) for each word of the line cut last, in order, until it returns false.
    // Returns false when it was stopped.
    template <typename Word> bool ForEachWord(Word&& word) const;

private:
    // Room is made a block at a time, so that each blank costs one store.
    void Hold(std::uint32_t blanks, std::size_t block) {
        if (blanks == 0)
            return;
        if (!holding_ || heldCount_ + kScanUnits > kHeldBlanks) {
            counted_ = (holding_ ? heldCount_ : counted_) + CountBits(blanks);
            holding_ = false;
            return;
        }
        if (heldCount_ + kScanUnits > blanks_.size())
            blanks_.resize(std::max<std::size_t>(2 * blanks_.size(), 4 * kScanUnits));
        std::uint32_t* out = blanks_.data() + heldCount_;
        const auto base = static_cast<std::uint32_t>(block - start_);
        for (; blanks != 0; blanks &= blanks - 1)
            *out++ = base + static_cast<std::uint32_t>(std::countr_zero(blanks));
        heldCount_ = static_cast<std::size_t>(out - blanks_.data());
    }
    LineExtent Finish(std::size_t end, bool hasNext) {
        end_ = end;
        const std::size_t blanks = holding_ ? heldCount_ : counted_;
        return {end, end == start_ ? 0 : blanks + 1, hasNext};
    }

    std::u16string_view text_;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
    std::vector<std::uint32_t>
        blanks_; // from the line's start: the first heldCount_ of them, while holding_
    std::size_t heldCount_ = 0;
    bool holding_ = true;
    std::size_t counted_ = 0;
};

// Calls word(start, end) for each word of the non-empty line text[start, end), in order, until it
// returns false. Returns false when it was stopped.
template <typename Word>
bool ForEachWordIn(std::u16string_view text, std::size_t start, std::size_t end, Word&& word) {
    const char16_t* units = text.data();
    std::size_t wordStart = start;
    // Blocks fall where the text's blocks do, and may reach past the line's end as long as they
    // stay inside the text.
    std::size_t i = start - start % kScanUnits;
    std::uint32_t before = ~std::uint32_t{0} << (start - i);
    for (; i < end && i + kScanUnits <= text.size(); i += kScanUnits, before = ~std::uint32_t{0}) {
        std::uint32_t blanks = EqualMasks(units + i, kWordBlank, kWordBlank).a & before;
        if (end - i < kScanUnits)
            blanks &= (std::uint32_t{1} << (end - i)) - 1;
        for (; blanks != 0; blanks &= blanks - 1) {
            const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(blanks));
            if (!word(wordStart, at))
                return false;
            wordStart = at + 1;
        }
    }
    for (i = std::max(i, start); i < end; ++i) {
        if (units[i] == kWordBlank) {
            if (!word(wordStart, i))
                return false;
            wordStart = i + 1;
        }
    }
    return word(wordStart, end);
}

template <typename Word> bool LineCut::ForEachWord(Word&& word) const {
    if (end_ == start_)
        return true;
    if (!holding_)
        return ForEachWordIn(text_, start_, end_, word);
    std::size_t wordStart = start_;
    for (const std::uint32_t blank : std::span(blanks_.data(), heldCount_)) {
        if (!word(wordStart, start_ + blank))
            return false;
        wordStart = start_ + blank + 1;
    }
    return word(wordStart, end_);
}

} // namespace compare
