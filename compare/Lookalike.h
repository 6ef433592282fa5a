#pragma once

#include "compare/LookalikeKinds.h"

#include <optional>
#include <string_view>

namespace compare {

// Whether two texts are look-alikes: different, but equal once one or more kinds of difference
// have been removed from both (see LookalikeForms.h for what each kind removes). Gives the kinds
// that explain the difference, or nothing for texts that are equal or that no set of kinds makes
// equal. Of the sets that explain it, the one with the fewest kinds is named, and among sets of
// that size the one whose kinds come earliest in the list (compared kind by kind): a single kind
// whenever one explains the difference alone, the earliest such; several only where it takes
// several together, like case and trailing-space for "Abc " against "abc".
std::optional<LookalikeKinds> ExplainLookalike(std::u16string_view a, std::u16string_view b);

} // namespace compare
