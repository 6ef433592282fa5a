#pragma once

#include <cstdint>
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

} // namespace compare
