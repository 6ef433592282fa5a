#include "compare/WordMatching.h"

#include <algorithm>

namespace compare {

std::size_t CountWordsAtBlank(std::u16string_view text) {
    if (text.empty())
        return 0;
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), kBlank)) + 1;
}

void CutAtBlanks(std::u16string_view text, std::vector<std::u16string_view>& words) {
    words.clear();
    ForEachWordAtBlank(text, [&](std::size_t, std::u16string_view word) { words.push_back(word); });
}

std::size_t WindowSize(std::size_t wordCount) {
    // (n - 1) / 2 + 1 is (n + 1) / 2: whole for odd n, halfway for even n. Kept in integers so
    // that it stays exact where a double would not.
    const std::size_t half = wordCount / 2;
    if (wordCount % 2 == 1)
        return half + 1;
    return half % 2 == 0 ? half : half + 1;
}

bool PartnerCursor::TakeMatch(std::u16string_view word) {
    // Candidates past the end of the partner line count against the window but can never match.
    const std::size_t reachable = std::min(window_, words_.size() - next_);
    for (std::size_t m = 0; m < reachable; ++m) {
        if (words_[next_ + m] == word) {
            next_ += m + 1;
            return true;
        }
    }
    return false;
}

} // namespace compare
