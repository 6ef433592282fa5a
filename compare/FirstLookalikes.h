#pragma once

#include "compare/LookalikeKinds.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace compare {

// The first of a list of candidates that a text looks like.
struct FirstLookalike {
    std::size_t candidate; // its index among the candidates
    LookalikeKinds kinds;

    friend bool operator==(const FirstLookalike&, const FirstLookalike&) = default;
};

// For each of `texts`, the first of `candidates`, in the order given, that is its look-alike (see
// Lookalike.h), or nothing. Every candidate is looked at, however many there are: a look-alike
// is never passed over for the candidates before it. A few pairs are checked one by one; many are
// matched through what each text becomes under every set of kinds (its forms), so that the time
// grows with the number of texts and candidates, not with their product, and the memory with at
// most kMostFormsAtOnce forms of the candidates at once.
std::vector<std::optional<FirstLookalike>>
FindFirstLookalikes(std::span<const std::u16string_view> texts,
                    std::span<const std::u16string_view> candidates);

inline constexpr std::size_t kMostFormsAtOnce = std::size_t{1} << 18;

// About the bytes the matching above holds at most, beside the texts: sixteen bytes a form.
inline constexpr std::size_t kFirstLookalikesBytes = kMostFormsAtOnce * 16;

} // namespace compare
