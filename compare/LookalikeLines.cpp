#include "compare/LookalikeLines.h"

#include "compare/ContentHash.h"
#include "compare/Lookalike.h"
#include "compare/LooseKey.h"
#include "compare/Prefetch.h"

#include <algorithm>
#include <bit>
#include <future>

namespace compare {

LookalikeLineIndex::LookalikeLineIndex(const LineIndex& lines) : lines_(lines) {
    Build();
}

std::u16string_view LookalikeLineIndex::Content(std::size_t piece) const {
    const Piece cut = lines_.PieceAt(piece);
    return LineContent(lines_.Text().substr(cut.start, cut.length));
}

void LookalikeLineIndex::Build() {
    const std::size_t pieces = lines_.PieceCount();
    std::vector<std::uint32_t> hashes(pieces);
    std::u16string scratch;
    for (std::size_t piece = 0; piece < pieces; ++piece)
        hashes[piece] = LooseKeyHash(Content(piece), scratch);
    slots_.assign(std::bit_ceil(std::max<std::size_t>(pieces + pieces / 2, 16)), Slot{});
    mask_ = slots_.size() - 1;
    next_.assign(pieces, 0);
    // From the last line back, so that each chain ends up in text order.
    constexpr std::size_t kAhead = 16;
    for (std::size_t piece = pieces; piece-- > 0;) {
        if (piece >= kAhead)
            TARNWICK_PREFETCH(&slots_[hashes[piece - kAhead] & mask_]);
        const std::uint32_t hash = hashes[piece];
        std::size_t i = hash & mask_;
        while (slots_[i].first != 0 && slots_[i].hash != hash)
            i = (i + 1) & mask_;
        next_[piece] = slots_[i].first;
        slots_[i] = {hash, static_cast<std::uint32_t>(piece + 1)};
    }
}

std::optional<LineLookalike> LookalikeLineIndex::Find(std::u16string_view content,
                                                      std::u16string& scratch) const {
    const std::uint32_t hash = LooseKeyHash(content, scratch);
    std::size_t i = hash & mask_;
    while (slots_[i].first != 0 && slots_[i].hash != hash)
        i = (i + 1) & mask_;
    const std::u16string key(LooseKey(content, scratch));
    std::vector<std::u16string_view> rejected;
    std::size_t steps = 0;
    for (std::uint32_t next = slots_[i].first; next != 0 && steps < kMostSteps;
         next = next_[next - 1], ++steps) {
        const std::size_t piece = next - 1;
        const std::u16string_view candidate = Content(piece);
        if (std::find(rejected.begin(), rejected.end(), candidate) != rejected.end())
            continue;
        if (LooseKey(candidate, scratch) == key)
            if (const std::optional<LookalikeKinds> kinds = ExplainLookalike(content, candidate))
                return LineLookalike{lines_.PieceAt(piece), piece + 1, *kinds};
        if (rejected.size() == kMostCandidates)
            break;
        rejected.push_back(candidate);
    }
    return std::nullopt;
}

std::vector<std::optional<LineLookalike>> FindLookalikeLines(std::u16string_view own,
                                                             std::span<const Piece> red,
                                                             const LookalikeLineIndex& other) {
    std::vector<std::optional<LineLookalike>> found;
    found.reserve(red.size());
    std::u16string scratch;
    for (const Piece& piece : red)
        found.push_back(other.Find(LineContent(own.substr(piece.start, piece.length)), scratch));
    return found;
}

LookalikeLinesOfBoth FindLookalikeLinesOfBoth(const LineIndex& first,
                                              std::span<const Piece> redOfFirst,
                                              const LineIndex& second,
                                              std::span<const Piece> redOfSecond) {
    auto secondIndex = std::async(std::launch::async, [&] { return LookalikeLineIndex(second); });
    const LookalikeLineIndex firstIndex(first);
    const LookalikeLineIndex secondReady = secondIndex.get();
    auto ofSecond = std::async(std::launch::async, [&] {
        return FindLookalikeLines(second.Text(), redOfSecond, firstIndex);
    });
    LookalikeLinesOfBoth both;
    both.ofFirst = FindLookalikeLines(first.Text(), redOfFirst, secondReady);
    both.ofSecond = ofSecond.get();
    return both;
}

} // namespace compare
