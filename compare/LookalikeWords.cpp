#include "compare/LookalikeWords.h"

#include "compare/WordLookalikeWalk.h"

namespace compare {

std::optional<WordLookalike> FindLookalikeWordAt(std::u16string_view ownPane, std::size_t wordStart,
                                                 std::u16string_view otherPane) {
    return WordLookalikeWalk(ownPane, otherPane).Next(wordStart);
}

} // namespace compare
