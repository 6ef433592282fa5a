#include "compare/WordComparison.h"

namespace compare {

std::size_t WindowSize(std::size_t wordCount) {
    // (n - 1) / 2 + 1 is (n + 1) / 2: whole for odd n, halfway for even n. Kept in integers so
    // that it stays exact where a double would not.
    const std::size_t half = wordCount / 2;
    if (wordCount % 2 == 1)
        return half + 1;
    return half % 2 == 0 ? half : half + 1;
}

} // namespace compare
