#include "compare/PartnerLine.h"

#include "compare/ContentHash.h"
#include "compare/FindUnit.h"

#include <algorithm>
#include <stdexcept>

namespace compare {

namespace {

// Words worked out past the furthest search, so that the next searches find them ready.
constexpr std::size_t kAheadWords = 0;

} // namespace

PartnerLine::PartnerLine(std::u16string_view text) {
    Use(text);
}

void PartnerLine::Use(std::u16string_view text) {
    if (text.size() >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("The text is too large to compare by words");
    text_ = text;
    exists_ = !text.empty();
    if (exists_) {
        Enter(0);
    } else {
        // An empty line, the only partner an empty text offers.
        Restart(0, 0);
        index_ = {};
        keptStarts_ = {};
        seen_ = 0;
        endKnown_ = done_ = true;
        lineStart_ = lineEnd_ = 0;
        hasNext_ = false;
    }
}

void PartnerLine::Enter(std::size_t lineStart) {
    lineStart_ = lineStart;
    endKnown_ = false;
    seen_ = 0;
    index_ = {};
    keptStarts_ = {};
    Restart(0, lineStart);
}

void PartnerLine::MoveOn() {
    if (!exists_)
        return;
    FindEnd();
    if (hasNext_ && lineEnd_ + 2 < text_.size())
        Enter(lineEnd_ + 2);
    else
        Rewind();
}

void PartnerLine::Rewind() {
    if (base_ > 0)
        Restart(0, lineStart_);
}

void PartnerLine::Restart(std::size_t number, std::size_t unit) {
    stored_ = 0;
    base_ = number;
    scanFrom_ = unit;
    done_ = false;
}

void PartnerLine::EndAt(std::size_t end, bool hasNext) {
    if (end > lineStart_) { // an empty line has no words
        MakeRoom();
        Add(scanFrom_, end);
    }
    scanFrom_ = end;
    done_ = endKnown_ = true;
    lineEnd_ = end;
    hasNext_ = hasNext;
}

void PartnerLine::FindEnd() {
    for (std::size_t from = std::max(scanFrom_, lineStart_); !endKnown_;) {
        const std::size_t cr = FindUnit(text_, u'\r', from);
        if (cr == text_.size()) {
            lineEnd_ = cr;
            hasNext_ = false;
            endKnown_ = true;
        } else if (cr + 1 < text_.size() && text_[cr + 1] == u'\n') {
            lineEnd_ = cr;
            hasNext_ = endKnown_ = true;
        }
        from = cr + 1;
    }
}

void PartnerLine::Forget(std::size_t before) {
    const auto passed = static_cast<std::ptrdiff_t>(before - base_);
    std::copy(starts_.begin() + passed, starts_.begin() + static_cast<std::ptrdiff_t>(stored_),
              starts_.begin());
    std::copy(keys_.begin() + passed, keys_.begin() + static_cast<std::ptrdiff_t>(stored_),
              keys_.begin());
    stored_ -= static_cast<std::size_t>(passed);
    base_ = before;
}

// One scan finds the blanks that end words and the CR LF that ends the line. Whole blocks of
// sixteen units are cut at once; a scan that stops inside a block starts there again next time.
void PartnerLine::Reach(std::size_t from, std::size_t to) {
    if (done_)
        return;
    if (const std::size_t passed = from - base_; passed >= kForgetAfter && 2 * passed >= stored_)
        Forget(from);
    const std::size_t want = to + kAheadWords;
    const char16_t* units = text_.data();
    const std::size_t size = text_.size();
    // Blocks fall where the text's blocks do; the units of the first before scanFrom_ are masked.
    std::size_t i = scanFrom_ - scanFrom_ % kScanUnits;
    std::uint32_t before = ~std::uint32_t{0} << (scanFrom_ - i);
    for (; Have() < want && i + kScanUnits <= size; i += kScanUnits, before = ~std::uint32_t{0}) {
        const UnitMasks masks = EqualMasks(units + i, kWordBlank, u'\r');
        std::uint32_t blanks = masks.a & before;
        std::size_t lineEnd = size; // none in this block
        for (std::uint32_t crs = masks.b & before; crs != 0; crs &= crs - 1) {
            const int bit = std::countr_zero(crs);
            if (const std::size_t at = i + static_cast<std::size_t>(bit);
                at + 1 < size && units[at + 1] == u'\n') {
                lineEnd = at;
                blanks &= (std::uint32_t{1} << bit) - 1;
                break;
            }
        }
        MakeRoom();
        for (; blanks != 0; blanks &= blanks - 1) {
            const std::size_t blank = i + static_cast<std::size_t>(std::countr_zero(blanks));
            Add(scanFrom_, blank);
            scanFrom_ = blank + 1;
        }
        if (lineEnd != size)
            return EndAt(lineEnd, true);
    }
    for (i = std::max(i, scanFrom_); Have() < want && i < size; ++i) {
        if (units[i] == kWordBlank) {
            MakeRoom();
            Add(scanFrom_, i);
            scanFrom_ = i + 1;
        } else if (units[i] == u'\r' && i + 1 < size && units[i + 1] == u'\n') {
            return EndAt(i, true);
        }
    }
    if (i >= size)
        EndAt(size, false);
}

void PartnerLine::BuildIndex() {
    FindEnd();
    if (lineEnd_ <= lineStart_)
        return;
    // Counted first, so that the index takes what it holds and never twice that as it grows.
    std::size_t count = 0;
    ForEachWordIn(text_, lineStart_, lineEnd_, [&](std::size_t, std::size_t) {
        ++count;
        return true;
    });
    index_.reserve(count);
    keptStarts_.reserve((count + kStartEvery - 1) / kStartEvery);
    std::uint32_t number = 0;
    ForEachWordIn(text_, lineStart_, lineEnd_, [&](std::size_t start, std::size_t end) {
        if (number % kStartEvery == 0)
            keptStarts_.push_back(static_cast<std::uint32_t>(start - lineStart_));
        index_.push_back({ContentHash(Units(start, end - start)), number++});
        return true;
    });
    std::sort(index_.begin(), index_.end(), [](const IndexedWord& a, const IndexedWord& b) {
        return a.hash != b.hash ? a.hash < b.hash : a.number < b.number;
    });
}

std::size_t PartnerLine::StartOf(std::size_t number) const {
    std::size_t at = lineStart_ + keptStarts_[number / kStartEvery];
    for (std::size_t skip = number % kStartEvery; skip > 0; --skip)
        at = FindUnit(text_, kWordBlank, at) + 1;
    return at - lineStart_;
}

bool PartnerLine::IsWordAt(std::size_t start, std::u16string_view word) const {
    const std::size_t at = lineStart_ + start;
    const std::size_t end = at + word.size();
    return end <= lineEnd_ && (end == lineEnd_ || text_[end] == kWordBlank) &&
           SameWord(Units(at, word.size()), word);
}

std::size_t PartnerLine::FindFar(std::u16string_view word, std::size_t from, std::size_t to) {
    if (index_.empty())
        BuildIndex();
    const std::uint32_t hash = ContentHash(word);
    auto candidate = std::lower_bound(
        index_.begin(), index_.end(), std::pair{hash, from},
        [](const IndexedWord& indexed, const std::pair<std::uint32_t, std::size_t>& wanted) {
            return indexed.hash != wanted.first ? indexed.hash < wanted.first
                                                : indexed.number < wanted.second;
        });
    for (; candidate != index_.end() && candidate->hash == hash && candidate->number < to;
         ++candidate) {
        const std::size_t start = StartOf(candidate->number);
        if (!IsWordAt(start, word))
            continue;
        // The search goes on after it: the words up to it are used up.
        const std::size_t next = candidate->number + 1;
        if (next > Have()) {
            Restart(next, lineStart_ + start + word.size() + 1);
            if (next == index_.size()) { // it was the last word
                scanFrom_ = lineEnd_;
                done_ = true;
            }
        }
        return candidate->number;
    }
    return kNotFound;
}

} // namespace compare
