#include "compare/LookalikeWords.h"

#include "compare/ContentHash.h"
#include "compare/Lookalike.h"
#include "compare/LooseKey.h"
#include "compare/WordComparison.h"

#include <algorithm>
#include <string>

namespace compare {

namespace {

// The loose-key hashes of one partner line's words, worked out as the searches reach them: a
// partner line that many red words are looked up in is keyed once.
class PartnerHashes {
public:
    explicit PartnerHashes(const WordIndex& other) : other_(other) {}

    void Use(std::size_t partner) {
        if (partner == partner_)
            return;
        partner_ = partner;
        hashes_.assign(other_.WordCount(partner), std::nullopt);
    }
    std::uint32_t Hash(std::size_t index) {
        std::optional<std::uint32_t>& hash = hashes_[index];
        if (!hash)
            hash = ContentHash(
                LooseKey(other_.Word(partner_, other_.FirstWord(partner_) + index), scratch_));
        return *hash;
    }

private:
    const WordIndex& other_;
    std::size_t partner_ = kNoPartner;
    std::vector<std::optional<std::uint32_t>> hashes_;
    std::u16string scratch_;
};

std::optional<WordLookalike> Search(const WordIndex& own, std::size_t line, std::size_t word,
                                    const WordIndex& other, std::size_t partner,
                                    PartnerHashes& hashes, std::u16string& scratch) {
    const std::size_t count = partner == kNoPartner ? 0 : other.WordCount(partner);
    if (count == 0)
        return std::nullopt;
    hashes.Use(partner);
    const std::u16string_view text = own.Word(line, word);
    const std::uint32_t hash = ContentHash(LooseKey(text, scratch));
    std::optional<std::u16string> key; // the red word's loose key, once a hash agrees
    const std::size_t index = word - own.FirstWord(line);
    const std::size_t window = WindowSize(own.WordCount(line));
    const auto tryWord = [&](std::size_t at) -> std::optional<WordLookalike> {
        if (at >= count || hashes.Hash(at) != hash)
            return std::nullopt;
        const std::size_t otherWord = other.FirstWord(partner) + at;
        const std::u16string_view candidate = other.Word(partner, otherWord);
        if (!key)
            key = std::u16string(LooseKey(text, scratch));
        if (LooseKey(candidate, scratch) != *key)
            return std::nullopt;
        const std::optional<LookalikeKinds> kinds = ExplainLookalike(text, candidate);
        if (!kinds)
            return std::nullopt;
        return WordLookalike{own.WordStart(word), text.size(), other.WordStart(otherWord),
                             candidate.size(),    partner + 1, *kinds};
    };
    for (std::size_t distance = 0; distance <= window; ++distance) {
        if (distance <= index)
            if (auto found = tryWord(index - distance))
                return found;
        if (distance > 0)
            if (auto found = tryWord(index + distance))
                return found;
    }
    return std::nullopt;
}

} // namespace

std::optional<WordLookalike> FindLookalikeWord(const WordIndex& own, std::size_t line,
                                               std::size_t word, const WordIndex& other,
                                               std::size_t partner) {
    PartnerHashes hashes(other);
    std::u16string scratch;
    return Search(own, line, word, other, partner, hashes, scratch);
}

std::vector<WordLookalike> FindLookalikeWordsOfPass(const WordIndex& own, const WordIndex& other) {
    std::vector<WordLookalike> found;
    PartnerHashes hashes(other);
    std::u16string scratch;
    std::size_t word = 0; // the unmatched words come in text order, so their indices only grow
    ForEachUnmatchedWordWithPartner(
        own, other,
        [&](std::size_t line, std::size_t partner, std::size_t start, std::u16string_view) {
            word = std::max(word, own.FirstWord(line));
            while (own.WordStart(word) != start)
                ++word;
            if (auto lookalike = Search(own, line, word, other, partner, hashes, scratch))
                found.push_back(*lookalike);
        });
    return found;
}

} // namespace compare
