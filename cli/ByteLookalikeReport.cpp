#include "cli/ByteLookalikeReport.h"

#include "cli/LoadedUnits.h"
#include "cli/LookalikeSinks.h"
#include "compare/SideBySide.h"

#include <algorithm>

LoadedSpans::LoadedSpans(const ByteLines& lines, std::vector<std::uint32_t> pieces)
    : pieces_(std::move(pieces)) {
    std::sort(pieces_.begin(), pieces_.end());
    pieces_.erase(std::unique(pieces_.begin(), pieces_.end()), pieces_.end());
    spans_.reserve(pieces_.size());
    LoadedUnits units(lines);
    for (const std::uint32_t piece : pieces_)
        spans_.push_back({units.StartOf(piece), units.MarkedLength(piece)});
}

LoadedSpans::Span LoadedSpans::Of(std::uint32_t piece) const {
    const auto at = std::lower_bound(pieces_.begin(), pieces_.end(), piece);
    return spans_[static_cast<std::size_t>(at - pieces_.begin())];
}

std::array<LoadedSpans, 2> SpansOfLookalikes(const ByteLookalikeText& first,
                                             const ByteLookalikeText& second,
                                             const std::array<ByteLookalikes, 2>& found) {
    const auto asked = [&](const ByteLookalikeText& text, const ByteLookalikes& own,
                           const ByteLookalikes& other) {
        std::vector<std::uint32_t> pieces;
        for (std::size_t i = 0; i < own.size(); ++i)
            if (own[i])
                pieces.push_back(text.missing[i]);
        for (const std::optional<ByteLookalike>& lookalike : other)
            if (lookalike)
                pieces.push_back(lookalike->piece);
        return LoadedSpans(text.lines, std::move(pieces));
    };
    auto [ofFirst, ofSecond] = compare::SideBySide([&](int side) {
        return side == 0 ? asked(first, found[0], found[1]) : asked(second, found[1], found[0]);
    });
    return {std::move(ofFirst), std::move(ofSecond)};
}

void WriteJsonByteLookalikes(const std::vector<std::uint32_t>& missing,
                             const SideByteLookalikes& lookalikes, ByteSink& out) {
    JsonLookalikes list(out);
    for (std::size_t i = 0; i < missing.size(); ++i) {
        const std::optional<ByteLookalike>& found = lookalikes.found[i];
        if (!found)
            continue;
        const LoadedSpans::Span own = lookalikes.own.Of(missing[i]);
        const LoadedSpans::Span other = lookalikes.other.Of(found->piece);
        list.Lookalike(EntryLookalike{own.start, own.length, other.start, other.length,
                                      std::size_t{found->piece} + 1, found->kinds});
    }
    list.Finish();
}
