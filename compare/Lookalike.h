#pragma once

#include "compare/LookalikeKinds.h"

#include <bitset>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace compare {

// Whether two texts are look-alikes: different, but equal once one or more kinds of difference
// have been removed from both (see LookalikeForms.h for what each kind removes). Gives the kinds
// that explain the difference, or nothing for texts that are equal or that no set of kinds makes
// equal. Of the sets that explain it, the one with the fewest kinds is named, and among sets of
// that size the one whose kinds come earliest in the list (compared kind by kind): a single kind
// whenever one explains the difference alone, the earliest such; several only where it takes
// several together, like case and trailing-space for "Abc " against "abc".
std::optional<LookalikeKinds> ExplainLookalike(std::u16string_view a, std::u16string_view b);

// The same with only the kinds of `allowed`: the set named is one of its subsets, chosen among
// them as above. What the rules of a comparison that made two texts equal say about them.
std::optional<LookalikeKinds> ExplainLookalikeWithin(std::u16string_view a, std::u16string_view b,
                                                     LookalikeKinds allowed);

// What a text becomes under every set of kinds, worked out once for a text that is checked against
// many others: the same answers as above, at the cost of one text's forms for each check.
class LookalikeForms {
public:
    explicit LookalikeForms(std::u16string_view text);

    // A bit for each set of kinds (numbered by LookalikeKinds::Bits).
    using SetsOfKinds = std::bitset<std::size_t{1} << kLookalikeKindCount>;

    // Each distinct form with the sets of kinds that give it. Two different texts are look-alikes
    // when one form of each is the same text for a set of kinds that both have.
    const std::vector<std::pair<std::u16string, SetsOfKinds>>& Forms() const { return forms_; }

private:
    friend std::optional<LookalikeKinds> ExplainLookalike(const LookalikeForms& a,
                                                          const LookalikeForms& b);
    std::u16string text_;
    std::vector<std::pair<std::u16string, SetsOfKinds>> forms_;
};

std::optional<LookalikeKinds> ExplainLookalike(const LookalikeForms& a, const LookalikeForms& b);

} // namespace compare
