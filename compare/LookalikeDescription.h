#pragma once

#include "compare/LookalikeKinds.h"

#include <string>
#include <string_view>

namespace compare {

// How a tooltip tells a user what sets a piece apart from its look-alike: each kind in a few
// words, with the code points involved where that helps, such as "trailing space (U+0020 at the
// end)" or "nbsp (U+00A0 where the other has U+0020)". `own` is the piece described, `other` its
// look-alike, and `kinds` what ExplainLookalike named for them. The kinds are described in list
// order and joined by ", ". ASCII only.
std::string DescribeLookalike(LookalikeKinds kinds, std::u16string_view own,
                              std::u16string_view other);

} // namespace compare
