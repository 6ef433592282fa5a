#include "compare/WordIndex.h"

#include "compare/FindUnit.h"

#include <limits>
#include <stdexcept>

namespace compare {

namespace {

constexpr char16_t kBlank = u' ';
constexpr char16_t kCR = u'\r';
constexpr char16_t kLF = u'\n';

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
    lineEnds_.reserve(size / 40 + 1);
    firstWords_.reserve(size / 40 + 2);
    for (std::size_t lineStart = 0; size > 0;) {
        firstWords_.push_back(static_cast<std::uint32_t>(wordStarts_.size()));
        std::size_t wordStart = lineStart;
        std::size_t lineEnd = size;
        for (std::size_t from = lineStart;;) {
            const std::size_t stop = FindEither(text_, kBlank, kCR, from);
            if (stop == size)
                break;
            if (units[stop] == kBlank) {
                wordStarts_.push_back(static_cast<std::uint32_t>(wordStart));
                wordStart = stop + 1;
            } else if (stop + 1 < size && units[stop + 1] == kLF) {
                lineEnd = stop;
                break;
            } // else a lone CR, which stays inside its word
            from = stop + 1;
        }
        if (lineEnd > lineStart) // an empty line has no words, not one empty word
            wordStarts_.push_back(static_cast<std::uint32_t>(wordStart));
        lineEnds_.push_back(static_cast<std::uint32_t>(lineEnd));
        if (lineEnd == size)
            break;
        lineStart = lineEnd + 2; // a text ending in CR LF goes round once more, for its empty line
    }
    firstWords_.push_back(static_cast<std::uint32_t>(wordStarts_.size()));
}

} // namespace compare
