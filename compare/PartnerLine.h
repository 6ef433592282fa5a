#pragma once

#include "compare/LineWords.h"
#include "compare/WordComparison.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

namespace compare {

// The partner line of a word comparison in the other text, and the search for a word among its
// next few words not used up yet.
//
// The partner's words are worked out only as far as the searches reach, and those the search has
// passed are let go, so that memory follows the look-ahead rather than the line. A search that
// would look further than kDirectLook words ahead goes through an index of the whole line
// instead: a line of millions of words that its partner does not supply then costs a lookup a
// word, not a scan of a million words a word.
class PartnerLine {
public:
    static constexpr std::size_t kNotFound = std::numeric_limits<std::size_t>::max();
    static constexpr std::size_t kDirectLook = 32;
    // The passed words are let go once they are this many and at least half of those kept.
    static constexpr std::size_t kForgetAfter = std::size_t{1} << 16;

    // What the index of a partner line of `words` words takes, once a far search needs it.
    static constexpr std::size_t IndexBytes(std::size_t words) {
        return words * 2 * sizeof(std::uint32_t) +
               (words / kStartEvery + 1) * sizeof(std::uint32_t);
    }

    // `text` without the CR a load appends. The partner starts at its first line; an empty text
    // has none, and then every search fails.
    explicit PartnerLine(std::u16string_view text);

    // Starts again on another text, keeping the room already taken.
    void Use(std::u16string_view text);
    // Moves to the next line, when one begins inside the text; otherwise stays.
    void MoveOn();
    // The next search starts again from the line's first word.
    void Rewind();

    // The first word of the line from `from` on, among `window` words (those past the end of the
    // line count but never match), that equals `word` (whose key is `key`), or kNotFound.
    std::size_t Find(std::u16string_view word, std::uint64_t key, std::size_t from,
                     std::size_t window) {
        const std::size_t direct = std::min(window, kDirectLook);
        if ((from + direct > Have() && !done_) || from - base_ >= kForgetAfter)
            Reach(from, from + direct);
        const std::size_t looked = std::min(direct, Have() - from);
        if ((seen_ & Bit(key)) != 0) {
            const std::uint64_t* keys = keys_.data() + (from - base_);
            for (std::size_t m = 0; m < looked; ++m)
                if (keys[m] == key && SameWord(WordAt(from + m), word))
                    return from + m;
        }
        if (looked < window && !(done_ && from + looked == Have()))
            return FindFar(word, from + looked, from + window);
        return kNotFound;
    }

    // Where word `number` of the line begins in the text; `number` is what Find has just returned.
    std::size_t StartOfFound(std::size_t number) const {
        if (number >= base_ && number < Have())
            return lineStart_ + starts_[number - base_];
        return lineStart_ + StartOf(number); // found through the index
    }

private:
    // A word in the index of the whole line: eight bytes a word, for lines of many millions.
    // Neither its length nor its start is kept: a word searched for holds no blank, so it is the
    // word found at its start when the line has its units there and a blank or the line's end
    // after them; the start is found from the nearest start kept, kStartEvery words apart.
    struct IndexedWord {
        std::uint32_t hash;
        std::uint32_t number; // its place in the line
    };
    static constexpr std::size_t kStartEvery = 16;
    static_assert(sizeof(IndexedWord) == 2 * sizeof(std::uint32_t));

    void Enter(std::size_t lineStart);
    std::size_t Have() const { return base_ + stored_; }
    // Works out words until there are `to` (or the line ends); forgets those before `from` when
    // they are many.
    void Reach(std::size_t from, std::size_t to);
    void Forget(std::size_t before);
    void Restart(std::size_t number, std::size_t unit);
    // Room for a block's words more; Add then costs two stores.
    void MakeRoom() {
        if (stored_ + kScanUnits + 1 > starts_.size()) {
            const std::size_t size = std::max<std::size_t>(2 * starts_.size(), 8 * kScanUnits);
            starts_.resize(size);
            keys_.resize(size);
        }
    }
    void Add(std::size_t start, std::size_t end) {
        const std::uint64_t key = WordKey(Units(start, end - start));
        starts_[stored_] = static_cast<std::uint32_t>(start - lineStart_);
        keys_[stored_++] = key;
        seen_ |= Bit(key);
    }
    // One of 64 bits for a key, for a quick answer to "the line has no such word".
    static std::uint64_t Bit(std::uint64_t key) {
        return std::uint64_t{1} << ((key * 0x9E3779B97F4A7C15ull) >> 58);
    }
    void EndAt(std::size_t end, bool hasNext);
    void FindEnd();
    // Unchecked: the places come from cutting this text.
    std::u16string_view Units(std::size_t start, std::size_t length) const {
        return {text_.data() + start, length};
    }
    std::u16string_view WordAt(std::size_t number) const {
        const std::size_t i = number - base_;
        return Units(lineStart_ + starts_[i], static_cast<std::size_t>(keys_[i] >> 32));
    }
    std::size_t FindFar(std::u16string_view word, std::size_t from, std::size_t to);
    void BuildIndex();
    // Where word `number` of the line begins, from the line's start.
    std::size_t StartOf(std::size_t number) const;
    bool IsWordAt(std::size_t start, std::u16string_view word) const;

    std::u16string_view text_;
    bool exists_ = false;
    std::size_t lineStart_ = 0;
    // Known once a scan has reached the line's end.
    bool endKnown_ = false;
    std::size_t lineEnd_ = 0; // where its CR LF, or the text, begins
    bool hasNext_ = false;    // a CR LF ends it
    // Words [base_, Have()) of the line, worked out so far; done_ once the last one is among them.
    std::size_t base_ = 0;
    std::vector<std::uint32_t> starts_; // from the line's start; the first stored_ are in use
    std::vector<std::uint64_t> keys_;
    std::size_t stored_ = 0;
    std::size_t scanFrom_ = 0; // where the next word to work out begins, from the text's start
    bool done_ = false;
    std::uint64_t seen_ = 0;         // the bits of every word of the line worked out since Enter
    std::vector<IndexedWord> index_; // by hash, then place; empty until a far search needs it
    std::vector<std::uint32_t> keptStarts_; // where every kStartEvery-th word begins, for the index
};

} // namespace compare
