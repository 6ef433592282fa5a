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

WordPass ComparePass(std::u16string_view own, std::u16string_view other) {
    const WordIndex ownIndex(own);
    const WordIndex otherIndex(other);
    // Room for every word of `own`, so that millions of them do not regrow the buffers: until it is
    // written to, room is only address space.
    const std::size_t words = ownIndex.FirstWord(ownIndex.LineCount());
    WordPass pass;
    pass.list.reserve(own.size() + 2 * words);
    pass.marks.reserve(words);
    ForEachUnmatchedWordOfPass(ownIndex, otherIndex,
                               [&](std::size_t start, std::u16string_view word) {
                                   pass.marks.push_back({start, word.size()});
                                   pass.list.append(u"\r\n").append(word);
                               });
    return pass;
}

} // namespace compare
