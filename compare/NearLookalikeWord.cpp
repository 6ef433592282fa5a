#include "compare/NearLookalikeWord.h"

#include "compare/FindUnit.h"
#include "compare/Lookalike.h"
#include "compare/LooseKey.h"
#include "compare/WordComparison.h"

#include <algorithm>

namespace compare {

std::size_t NearReach(std::size_t wordCount) {
    return std::min(WindowSize(wordCount), kNearestWords);
}

std::size_t WordsForFullReach() {
    static const std::size_t words = [] {
        std::size_t n = 1;
        while (WindowSize(n) < kNearestWords)
            ++n;
        return n;
    }();
    return words;
}

void NearWords::StartLine(std::u16string_view text, std::size_t start, std::size_t end) {
    text_ = text;
    end_ = end;
    nextStart_ = start;
    more_ = start < end;
    cut_ = 0;
    firstHeld_ = 0;
}

void NearWords::SkipTo(std::size_t word) {
    if (!more_ || cut_ >= word)
        return;
    // Word `word` begins after the blank that ends the word before it.
    const std::size_t skipped = word - cut_;
    const NthUnit blank = FindNthUnit(text_, u' ', nextStart_, end_, skipped);
    if (blank.found == skipped) {
        cut_ = word;
        nextStart_ = blank.at + 1;
    } else {
        cut_ += blank.found + 1; // the last word too
        more_ = false;
    }
}

bool NearWords::CutNext() {
    if (!more_)
        return false;
    const KeyedWord word = KeyWordAt(text_, nextStart_, end_);
    held_[cut_ % kSlots] = {nextStart_, word.end - nextStart_, word.keyHash};
    const std::size_t blank = word.end;
    ++cut_;
    // A blank at the end of the line leaves an empty word after it.
    more_ = blank < end_;
    nextStart_ = blank + 1;
    return true;
}

void NearWords::Hold(std::size_t first, std::size_t last) {
    if (firstHeld_ < first)
        firstHeld_ = std::min(first, cut_);
    if (firstHeld_ == cut_) {
        SkipTo(first);
        firstHeld_ = cut_;
    }
    while (cut_ <= last && CutNext()) {
    }
}

bool NearWords::HoldsKey(std::size_t first, std::size_t last, std::uint64_t keyHash) const {
    for (std::size_t i = std::max(first, firstHeld_); i <= last && i < cut_; ++i)
        if (held_[i % kSlots].keyHash == keyHash)
            return true;
    return false;
}

KeyedWord KeyWordAt(std::u16string_view text, std::size_t from, std::size_t end) {
    return LooseKeyHashOfWord(text, from, end, kLongestLookalikeWord);
}

std::optional<NearLookalike> FindNearLookalike(std::u16string_view word,
                                               std::optional<std::uint64_t> keyHash,
                                               std::size_t index, std::size_t reach,
                                               const NearWords& near) {
    if (!keyHash)
        return std::nullopt;
    // Words whose keys differ are no look-alikes; words whose hashes agree nearly always have
    // equal keys, and the rare ones that do not are told apart by the check itself.
    const auto tryWord = [&](std::size_t at) -> std::optional<NearLookalike> {
        const NearWords::Word* other = near.At(at);
        if (other == nullptr || other->keyHash != keyHash)
            return std::nullopt;
        if (const std::optional<LookalikeKinds> kinds = ExplainLookalike(word, near.Text(*other)))
            return NearLookalike{at, *kinds};
        return std::nullopt;
    };
    // Most red words share their key with no partner word near them: one look along the held
    // words settles that, before the nearest are tried in turn.
    if (!near.HoldsKey(index >= reach ? index - reach : 0, index + reach, *keyHash))
        return std::nullopt;
    for (std::size_t distance = 0; distance <= reach; ++distance) {
        if (distance <= index)
            if (auto found = tryWord(index - distance))
                return found;
        if (distance > 0)
            if (auto found = tryWord(index + distance))
                return found;
    }
    return std::nullopt;
}

} // namespace compare
