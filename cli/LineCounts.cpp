#include "cli/LineCounts.h"

#include "compare/Lines.h"

#include <algorithm>
#include <future>

namespace {

using Counts = std::vector<std::uint32_t>;

// How often the text holds each line, counted at the line's first piece (0 at every other).
Counts CountsOf(const compare::LineIndex& text) {
    Counts counts(text.PieceCount(), 0);
    for (std::size_t piece = 0; piece < text.PieceCount(); ++piece)
        ++counts[text.FirstPieceLike(piece)];
    return counts;
}

std::u16string_view ContentOf(const compare::LineIndex& text, std::size_t piece) {
    const compare::Piece place = text.PieceAt(piece);
    return compare::LineContent(text.Text().substr(place.start, place.length));
}

struct Found {
    std::vector<CountedPiece> own;   // counted lines of this text
    std::vector<CountedPiece> other; // of the other text, which holds them once
};

// The lines `own` holds more than once, looked up in `other`.
Found LookUpRepeats(const compare::LineIndex& own, const Counts& ownCounts,
                    const compare::LineIndex& other, const Counts& otherCounts) {
    Found found;
    for (std::size_t piece = 0; piece < own.PieceCount(); ++piece) {
        const std::uint32_t here = ownCounts[piece];
        if (here < 2)
            continue;
        const auto there = other.FirstPieceWith(ContentOf(own, piece));
        if (!there)
            continue;
        const std::uint32_t thereCount = otherCounts[*there];
        if (thereCount != here)
            found.own.push_back({static_cast<std::uint32_t>(piece), here, thereCount});
        if (thereCount == 1) // the other text's side does not look it up: it holds it once
            found.other.push_back({static_cast<std::uint32_t>(*there), 1, here});
    }
    return found;
}

std::vector<CountedPiece> Merged(std::vector<CountedPiece> own,
                                 const std::vector<CountedPiece>& fromOther) {
    own.insert(own.end(), fromOther.begin(), fromOther.end());
    std::sort(own.begin(), own.end(),
              [](const CountedPiece& a, const CountedPiece& b) { return a.piece < b.piece; });
    return own;
}

} // namespace

std::array<std::vector<CountedPiece>, 2> CountLines(const compare::LineIndex& first,
                                                    const compare::LineIndex& second) {
    auto secondCounts = std::async(std::launch::async, [&] { return CountsOf(second); });
    const Counts firstCounts = CountsOf(first);
    const Counts otherCounts = secondCounts.get();
    auto fromSecond = std::async(
        std::launch::async, [&] { return LookUpRepeats(second, otherCounts, first, firstCounts); });
    const Found fromFirst = LookUpRepeats(first, firstCounts, second, otherCounts);
    const Found foundBySecond = fromSecond.get();
    return {Merged(fromFirst.own, foundBySecond.other), Merged(foundBySecond.own, fromFirst.other)};
}

qint64 LineCountBytes(qsizetype crs) {
    // A count a piece, and at most a counted line a piece.
    return (qint64{crs} + 2) * qint64{sizeof(std::uint32_t) + sizeof(CountedPiece)};
}

CountPass CountedLinesOf(const std::vector<CountedPiece>& side, const compare::LineIndex& own) {
    return [&side, &own](CountSink& sink) {
        for (const CountedPiece& counted : side) {
            const compare::Piece marked =
                compare::MarkedSpan(own.Text(), own.PieceAt(counted.piece));
            sink.Counted({ContentOf(own, counted.piece), marked.start, marked.length,
                          std::size_t{counted.piece} + 1, counted.here, counted.there});
        }
    };
}
