#include "compare/LookalikeWords.h"

#include "compare/CrLfLines.h"
#include "compare/NearLookalikeWord.h"
#include "compare/WordComparison.h"

namespace compare {

namespace {

// One line of an index, keyed, and kept while the searches stay on it: a partner line that many
// red words are looked up in is keyed once.
class KeyedIndexLine {
public:
    explicit KeyedIndexLine(const WordIndex& index) : index_(index) {}

    const KeyedLineWords& Use(std::size_t line) {
        if (line != line_) {
            line_ = line;
            const std::size_t start = index_.LineStart(line);
            words_.Cut(index_.Text(), start, start + index_.Line(line).size());
        }
        return words_;
    }

private:
    const WordIndex& index_;
    std::size_t line_ = kNoPartner;
    KeyedLineWords words_;
};

std::optional<WordLookalike> Lookalike(const KeyedLineWords& own, std::size_t word,
                                       const KeyedLineWords& partner, std::size_t partnerLine) {
    const std::optional<NearLookalike> near = FindNearLookalike(own, word, partner);
    if (!near)
        return std::nullopt;
    return WordLookalike{own.Start(word),           own.Word(word).size(),
                         partner.Start(near->word), partner.Word(near->word).size(),
                         partnerLine + 1,           near->kinds};
}

} // namespace

std::optional<WordLookalike> FindLookalikeWord(const WordIndex& own, std::size_t line,
                                               std::size_t word, const WordIndex& other,
                                               std::size_t partner) {
    if (partner == kNoPartner)
        return std::nullopt;
    KeyedIndexLine ownLine(own), partnerLine(other);
    return Lookalike(ownLine.Use(line), word - own.FirstWord(line), partnerLine.Use(partner),
                     partner);
}

std::vector<WordLookalike> FindLookalikeWordsOfPass(const WordIndex& own, const WordIndex& other) {
    std::vector<WordLookalike> found;
    KeyedIndexLine ownLine(own), partnerLine(other);
    ForEachUnmatchedWordWithPartner(
        own, other,
        [&](std::size_t line, std::size_t partner, std::size_t start, std::u16string_view) {
            if (partner == kNoPartner)
                return;
            const KeyedLineWords& words = ownLine.Use(line);
            if (auto lookalike =
                    Lookalike(words, words.WordAt(start), partnerLine.Use(partner), partner))
                found.push_back(*lookalike);
        });
    return found;
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
    return Lookalike(ownWords, ownWords.WordAt(wordStart), partnerWords, partner.Line().Number());
}

} // namespace compare
