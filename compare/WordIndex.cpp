#include "compare/WordIndex.h"

#include "compare/UnitScan.h"
#include "platform/LargePages.h"
#include "platform/LineBreakUnits.h"

#include <bit>
#include <limits>
#include <stdexcept>

namespace compare {

namespace {

constexpr char16_t kBlank = u' ';

} // namespace

WordIndex::WordIndex(std::u16string_view text) : text_(text) {
    if (text.size() >= std::numeric_limits<std::uint32_t>::max() - 2)
        throw std::length_error("The text is too large to compare by words");
    Cut();
}

void WordIndex::Cut() {
    const std::size_t size = text_.size();
    const char16_t* units = text_.data();
    wordStarts_.reserve(size / 6 + 1);
    AdviseLargePages(wordStarts_.data(), wordStarts_.capacity() * sizeof(std::uint32_t));
    lineEnds_.reserve(size / 40 + 1);
    firstWords_.reserve(size / 40 + 2);
    if (size == 0) {
        firstWords_.push_back(0);
        return;
    }
    std::size_t lineStart = 0;
    std::size_t wordStart = 0;
    const auto endLine = [&](std::size_t lineEnd) {
        if (lineEnd > lineStart) // an empty line has no words, not one empty word
            wordStarts_.push_back(static_cast<std::uint32_t>(wordStart));
        lineEnds_.push_back(static_cast<std::uint32_t>(lineEnd));
        firstWords_.push_back(static_cast<std::uint32_t>(wordStarts_.size()));
    };
    // Every blank ends a word; a CR ends a line only with an LF after it.
    const auto separator = [&](std::size_t at) {
        if (units[at] == kBlank) {
            wordStarts_.push_back(static_cast<std::uint32_t>(wordStart));
            wordStart = at + 1;
        } else if (at + 1 < size && units[at + 1] == kLF) {
            endLine(at);
            lineStart = wordStart = at + 2;
        }
    };
    firstWords_.push_back(0);
    std::size_t block = 0;
    for (; block + kScanUnits <= size; block += kScanUnits) {
        const UnitMasks masks = EqualMasks(units + block, kBlank, kCR);
        for (std::uint32_t found = masks.a | masks.b; found != 0; found &= found - 1)
            separator(block + static_cast<std::size_t>(std::countr_zero(found)));
    }
    for (; block < size; ++block)
        if (units[block] == kBlank || units[block] == kCR)
            separator(block);
    endLine(size); // a text ending in CR LF ends with an empty line
}

} // namespace compare
