#pragma once

#include "compare/LookalikeKinds.h"
#include "compare/LooseKey.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace compare {

// Where a red word's look-alike is looked for: among the words of its partner line near its own
// place. For the word at index i of a line of n words that is the partner words at indices i - R
// to i + R, R being the word comparison's own look-ahead WindowSize(n) but never more than
// kNearestWords, so that a word of a line of millions of words is matched as quickly as one of a
// short line. The nearest is taken first, and of two equally near the earlier. A partner word
// equal to the word itself is not a look-alike, and a word longer than kLongestLookalikeWord,
// red or near, has none: no one reads a word of a quarter of a million characters closely enough
// to miss an invisible difference, and keying it would take several times its size.
inline constexpr std::size_t kNearestWords = 16;
inline constexpr std::size_t kLongestLookalikeWord = std::size_t{1} << 18;

// R above, for a line of `wordCount` words.
std::size_t NearReach(std::size_t wordCount);

// The fewest words a line has whose reach is kNearestWords: a line's words need not be counted
// further than that.
std::size_t WordsForFullReach();

// The words of a partner line cut as the word comparison cuts them (at every blank), taken in
// order within a window that only moves on along the line: each is keyed (the hash of its loose
// key) when it enters the window, and the words before the window are passed over unkeyed. It
// holds the words of the window alone, however long the line.
class NearWords {
public:
    struct Word {
        std::size_t start = 0; // in the text
        std::size_t length = 0;
        std::optional<std::uint64_t> keyHash; // none for a word too long to key
    };

    // The line [start, end) of `text`; an empty line has no words.
    void StartLine(std::u16string_view text, std::size_t start, std::size_t end);
    // Holds the words at indices [first, last] that the line has; `first` and `last` are at or
    // after those asked for before.
    void Hold(std::size_t first, std::size_t last);
    // The word at `index`, if it is held.
    const Word* At(std::size_t index) const {
        return index >= firstHeld_ && index < cut_ ? &held_[index % kSlots] : nullptr;
    }
    // Whether a held word at indices [first, last] has the key hash.
    bool HoldsKey(std::size_t first, std::size_t last, std::uint64_t keyHash) const;
    std::u16string_view Text(const Word& word) const {
        return text_.substr(word.start, word.length);
    }

private:
    // Cuts the next word of the line, keys it and holds it; false when the line has no more.
    bool CutNext();
    // Passes over the words before `word`, unkeyed, counting the blanks that end them.
    void SkipTo(std::size_t word);

    // Room for the most words a window holds, a power of two: word i is held in slot i % size.
    static constexpr std::size_t kSlots = 64;
    static_assert(kSlots >= 2 * kNearestWords + 1);

    std::u16string_view text_;
    std::size_t end_ = 0;
    std::size_t nextStart_ = 0; // where the next word to cut begins
    bool more_ = false;         // the line has words not cut yet
    std::size_t cut_ = 0;       // how many words were cut
    std::size_t firstHeld_ = 0; // words [firstHeld_, cut_) are held
    std::array<Word, kSlots> held_;
};

// The word of a line that begins at `from` of `text` (the line ending at `end`), found and keyed:
// see LooseKeyHashOfWord. No key for a word longer than kLongestLookalikeWord.
KeyedWord KeyWordAt(std::u16string_view text, std::size_t from, std::size_t end);

// A look-alike among a partner line's words: its index there and what tells it apart.
struct NearLookalike {
    std::size_t word = 0;
    LookalikeKinds kinds;
};

// The look-alike of `word` (of key hash `keyHash`), at index `index` of its line, among the
// partner words `near` holds within `reach` of that index, nearest first.
std::optional<NearLookalike> FindNearLookalike(std::u16string_view word,
                                               std::optional<std::uint64_t> keyHash,
                                               std::size_t index, std::size_t reach,
                                               const NearWords& near);

} // namespace compare
