#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace compare {

// A coarse key under which two look-alikes (see Lookalike.h) always agree, whatever kinds of
// difference set them apart, so that a text's lines can be hashed once and a look-alike looked up
// instead of searched for. It keeps only what no kind of look-alike difference can change: spaces,
// zero-width characters and combining marks leave no trace, and a character stands for the same
// thing as its compatibility decomposition, its simple case folding and its confusable skeleton.
// Texts with equal keys are often not look-alikes ("ab" and "a b", "O" and "o0"): the key only
// narrows the search, and each candidate is checked with ExplainLookalike. Needs no ICU at run
// time: the table behind it is made from ICU's data when the program is built.

// The loose key of `text`, a string of code points as UTF-16, written into `scratch` (which only
// grows); valid until `scratch` is used again. Hash it with ContentHash.
std::u16string_view LooseKey(std::u16string_view text, std::u16string& scratch);

// A hash of a key that can be worked out as the key is made, without writing it down: the
// exclusive or of its UTF-16 units, each turned by seven bits more than the one before, mixed
// with its length. Equal keys have equal hashes; unequal keys rarely do, and are told apart by
// what follows.
std::uint64_t KeyHash(std::u16string_view key);

// KeyHash(LooseKey(text)), worked out without writing the key down: what a search that keys every
// line of a text and looks few of them up needs.
std::uint64_t LooseKeyHash(std::u16string_view text);

// A weaker hash of a key that is cheaper still to work out: the sum of a mixed value for each of
// its UTF-16 units, blind to their order. Equal keys have equal sums; keys that are not
// rearrangements of each other rarely do. A search that would key every line of a large text uses
// it to pass over the lines that cannot share a key it looks for, and hashes only the others.
std::uint64_t KeySum(std::u16string_view key);

// KeySum(LooseKey(text)), worked out without writing the key down.
std::uint64_t LooseKeySum(std::u16string_view text);
// The same of valid UTF-8 text: equal to the sum of the text as UTF-16, so that lines kept as
// bytes are sieved as their decoded form would be without being decoded.
std::uint64_t LooseKeySum(std::string_view utf8);

// A word of a line found and keyed in one pass: where the word that begins at `from` of `text`
// ends (at the next blank, or at `end`), and LooseKeyHash of it, unless it is longer than `most`
// units.
struct KeyedWord {
    std::size_t end = 0;
    std::optional<std::uint64_t> keyHash;
};
KeyedWord LooseKeyHashOfWord(std::u16string_view text, std::size_t from, std::size_t end,
                             std::size_t most);

} // namespace compare
