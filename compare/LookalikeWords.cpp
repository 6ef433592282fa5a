#include "compare/LookalikeWords.h"

#include "compare/CrLfLines.h"
#include "compare/NearLookalikeWord.h"

namespace compare {

std::optional<WordLookalike> FindLookalikeWord(const KeyedLineWords& own, std::size_t word,
                                               const KeyedLineWords& partner,
                                               std::size_t partnerLine) {
    const std::optional<NearLookalike> near = FindNearLookalike(own, word, partner);
    if (!near)
        return std::nullopt;
    return WordLookalike{own.Start(word),           own.Word(word).size(),
                         partner.Start(near->word), partner.Word(near->word).size(),
                         partnerLine + 1,           near->kinds};
}

std::optional<WordLookalike> FindLookalikeWordAt(std::u16string_view ownPane, std::size_t wordStart,
                                                 std::u16string_view otherPane) {
    const std::u16string_view own = WordComparisonText(ownPane);
    const std::u16string_view other = WordComparisonText(otherPane);
    CrLfLineWalker line(own);
    PartnerLineWalker partner(other);
    if (wordStart > own.size() || !line.HasLine() || !partner.HasLine())
        return std::nullopt;
    // A place on a line's CR LF counts with that line.
    while (line.End() + 2 <= wordStart) {
        line.Next();
        partner.Next();
    }
    KeyedLineWords ownWords, partnerWords;
    ownWords.Cut(own, line.Start(), line.End());
    if (ownWords.Count() == 0)
        return std::nullopt;
    partnerWords.Cut(other, partner.Line().Start(), partner.Line().End());
    return FindLookalikeWord(ownWords, ownWords.WordAt(wordStart), partnerWords,
                             partner.Line().Number());
}

} // namespace compare
