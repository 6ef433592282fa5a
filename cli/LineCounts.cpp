#include "cli/LineCounts.h"

#include "compare/ContentHash.h"
#include "compare/Lines.h"
#include "compare/Prefetch.h"

#include <algorithm>
#include <bit>
#include <future>

namespace {

using Counts = std::vector<std::uint32_t>;

std::u16string_view PieceText(const compare::LineIndex& text, std::size_t piece) {
    const compare::Piece place = text.PieceAt(piece);
    return text.Text().substr(place.start, place.length);
}

std::u16string_view ContentOf(const compare::LineIndex& text, std::size_t piece) {
    return compare::LineContent(PieceText(text, piece));
}

// How often the text holds each line, counted at the line's first piece (0 at every other). The
// contents are hashed in order and gathered in a table of first pieces, asked a few pieces ahead
// so that its waits for memory overlap: asking the index piece by piece would wait at each.
Counts CountsOf(const compare::LineIndex& text, bool appendedCR) {
    constexpr std::size_t kAhead = 16;
    const std::size_t pieces = text.PieceCount();
    std::vector<std::uint32_t> hashes(pieces);
    for (std::size_t piece = 0; piece < pieces; ++piece)
        hashes[piece] = compare::ContentHash(ContentOf(text, piece));
    // At most two thirds full. A slot holds a first piece's hash and, below it, the piece plus one.
    const std::size_t size = std::bit_ceil(std::max<std::size_t>(16, pieces + pieces / 2));
    const std::size_t mask = size - 1;
    std::vector<std::uint64_t> slots(size, 0);
    Counts counts(pieces, 0);
    for (std::size_t piece = 0; piece < pieces; ++piece) {
        if (piece + kAhead < pieces)
            TARNWICK_PREFETCH(&slots[hashes[piece + kAhead] & mask]);
        const std::uint32_t hash = hashes[piece];
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const std::uint64_t slot = slots[i];
            if (slot == 0) {
                slots[i] = std::uint64_t{hash} << 32 | (piece + 1);
                counts[piece] = 1;
                break;
            }
            const std::size_t first = (slot & 0xFFFFFFFFu) - 1;
            if ((slot >> 32) == hash && ContentOf(text, first) == ContentOf(text, piece)) {
                ++counts[first];
                break;
            }
        }
    }
    const auto isNothing = [&](std::size_t fromEnd) {
        return pieces > fromEnd && NothingAfterABreak(PieceText(text, pieces - 1 - fromEnd));
    };
    if (const std::size_t after =
            PiecesAfterTheLastLine(pieces, isNothing(0), isNothing(1), appendedCR))
        counts[*text.FirstPieceWith(u"")] -= static_cast<std::uint32_t>(after);
    return counts;
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
        if (thereCount == 0) // only the other text's pieces after its last line hold it
            continue;
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

std::size_t PiecesAfterTheLastLine(std::size_t pieces, bool last, bool beforeLast,
                                   bool appendedCR) {
    if (appendedCR && pieces > 0)
        return pieces > 1 && beforeLast ? 2 : 1;
    return pieces > 0 && last ? 1 : 0;
}

std::array<std::vector<CountedPiece>, 2>
CountLines(const compare::LineIndex& first, const compare::LineIndex& second, bool appendedCR) {
    if (first.DistinctCount() == first.PieceCount() &&
        second.DistinctCount() == second.PieceCount())
        return {}; // each text holds each of its lines once
    auto secondCounts =
        std::async(std::launch::async, [&] { return CountsOf(second, appendedCR); });
    const Counts firstCounts = CountsOf(first, appendedCR);
    const Counts otherCounts = secondCounts.get();
    auto fromSecond = std::async(
        std::launch::async, [&] { return LookUpRepeats(second, otherCounts, first, firstCounts); });
    const Found fromFirst = LookUpRepeats(first, firstCounts, second, otherCounts);
    const Found foundBySecond = fromSecond.get();
    return {Merged(fromFirst.own, foundBySecond.other), Merged(foundBySecond.own, fromFirst.other)};
}

qint64 LineCountBytes(qsizetype crs) {
    // While counting: a hash a piece and up to three slots; then a count a piece, and at most a
    // counted line a piece.
    return (qint64{crs} + 2) *
           qint64{2 * sizeof(std::uint32_t) + 3 * sizeof(std::uint64_t) + sizeof(CountedPiece)};
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
