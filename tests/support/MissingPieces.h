#pragma once

#include "compare/LineIndex.h"

#include <string_view>
#include <vector>

// The pieces of `own` whose content `other` lacks, in order, found as the program finds them: both
// texts indexed, and the pieces of one looked up in the other.
inline std::vector<compare::Piece> MissingPieces(std::u16string_view own,
                                                 std::u16string_view other) {
    return compare::LineIndex(own).MissingIn(compare::LineIndex(other));
}
