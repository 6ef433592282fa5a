#include "compare/NearLookalikeWord.h"

#include "compare/Lookalike.h"
#include "compare/LooseKey.h"
#include "compare/WordComparison.h"

#include <algorithm>

namespace compare {

void KeyedLineWords::Cut(std::u16string_view text, std::size_t start, std::size_t end) {
    line_ = text.substr(start, end - start);
    lineStart_ = start;
    LooseKeyHashesOfWords(line_, starts_, keyHashes_);
    hashes_.resize(keyHashes_.size());
    std::transform(keyHashes_.begin(), keyHashes_.end(), hashes_.begin(), [](std::uint64_t hash) {
        return static_cast<std::uint32_t>(hash * 0x9E3779B97F4A7C15ull >> 32);
    });
    window_ = WindowSize(Count());
}

std::u16string_view KeyedLineWords::Word(std::size_t word) const {
    const std::size_t begin = starts_[word];
    const std::size_t end = word + 1 < Count() ? starts_[word + 1] - 1 : line_.size();
    return line_.substr(begin, end - begin);
}

std::size_t KeyedLineWords::WordAt(std::size_t at) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), at - lineStart_);
    return static_cast<std::size_t>(after - starts_.begin()) - 1;
}

std::optional<NearLookalike> FindNearLookalike(const KeyedLineWords& own, std::size_t word,
                                               const KeyedLineWords& partner) {
    const std::size_t count = partner.Count();
    const std::uint32_t hash = own.Hashes()[word];
    // Words whose keys differ are no look-alikes; words whose hashes agree nearly always have
    // equal keys, and the rare ones that do not are told apart by the check itself.
    const auto tryWord = [&](std::size_t at) -> std::optional<NearLookalike> {
        if (at >= count || partner.Hashes()[at] != hash)
            return std::nullopt;
        if (const std::optional<LookalikeKinds> kinds =
                ExplainLookalike(own.Word(word), partner.Word(at)))
            return NearLookalike{at, *kinds};
        return std::nullopt;
    };
    const std::size_t window = own.Window();
    // Most red words share their key with no partner word near them: one look along the hashes
    // settles that, before the nearest are tried in turn.
    const std::size_t from = std::min(count, word > window ? word - window : 0);
    const std::size_t to = std::min(count, word + window + 1);
    const auto near = partner.Hashes().subspan(from, to - from);
    if (std::find(near.begin(), near.end(), hash) == near.end())
        return std::nullopt;
    for (std::size_t distance = 0; distance <= window; ++distance) {
        if (distance <= word)
            if (auto found = tryWord(word - distance))
                return found;
        if (distance > 0)
            if (auto found = tryWord(word + distance))
                return found;
    }
    return std::nullopt;
}

} // namespace compare
