#pragma once

#include "platform/TextRange.h"

#include <QStringView>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// Which pieces of a text cut at CR a list of differences holds, in about half a byte a piece:
// a bit for each piece, and now and then where a piece starts and where an entry stands in the
// list. A line comparison that finds twenty million red lines then lists them in a few megabytes;
// where each one stands is found again from the text, by a short scan from the nearest noted
// place. The text is not kept here: every question is asked with the text the pieces were cut
// from.
class PieceSelection {
public:
    class Builder;

    qsizetype Count() const { return count_; }
    // What it holds, in bytes.
    qint64 MemoryBytes() const;
    // Entry `i`'s piece in the text (without its CR).
    TextRange Entry(QStringView text, qsizetype i) const;
    // Calls visit(entry) with each entry's piece, in order, in one walk through the text.
    void ForEachEntry(QStringView text, const std::function<void(TextRange)>& visit) const;
    // The same for entries [first, last) alone, the walk starting at the first one's piece.
    void ForEachEntry(QStringView text, qsizetype first, qsizetype last,
                      const std::function<void(TextRange)>& visit) const;
    // Where entry `i` begins in a list that follows each entry with `separator` units.
    qsizetype ListAt(QStringView text, qsizetype i, qsizetype separator) const;
    // The last entry that begins at or before `position` of such a list (0 when there is none).
    qsizetype LastEntryAtOrBefore(QStringView text, qsizetype position, qsizetype separator) const;
    // The first entry whose piece begins at or after `position` of the text.
    qsizetype FirstEntryFrom(QStringView text, qsizetype position) const;

private:
    // Where a piece starts, noted every so often.
    struct Noted {
        std::uint32_t piece;
        std::uint32_t start;
    };
    static constexpr std::uint32_t kPiecesBetweenNotes = 64;
    static constexpr std::uint32_t kUnitsBetweenNotes = 4096;
    static constexpr qsizetype kEntriesBetweenPlaces = 16;
    static constexpr qsizetype kBitsPerRank = 512;

    qsizetype PieceOf(qsizetype entry) const;
    qsizetype EntriesBefore(qsizetype piece) const;
    // The piece's units, found from the note before it.
    TextRange PieceBounds(QStringView text, qsizetype piece) const;
    // The piece that holds `position` (its CR included) and where it starts; a piece of -1 past
    // the last piece noted.
    struct Held {
        qsizetype piece;
        qsizetype start;
    };
    Held PieceAt(QStringView text, qsizetype position) const;
    std::vector<Noted>::const_iterator NoteFor(qsizetype piece) const;

    std::vector<std::uint64_t> bits_;   // one a piece: listed or not
    std::vector<std::uint32_t> ranks_;  // entries before each kBitsPerRank pieces
    std::vector<Noted> notes_;          // in order; the last one follows the last entry's piece
    std::vector<std::uint32_t> places_; // where every kEntriesBetweenPlaces-th entry stands
    qsizetype count_ = 0;
};

// Collects whole pieces, in order. An entry that is not a whole piece is refused, and the caller
// lists it otherwise.
class PieceSelection::Builder {
public:
    // `pieceStarts`, when the caller has cut the text already: the start of every piece, then the
    // text's size plus one. The pieces are then passed without reading the text again.
    Builder(QStringView text, qsizetype separator, std::span<const std::uint32_t> pieceStarts = {})
        : text_(text), separator_(separator), starts_(pieceStarts) {
        selection_.notes_.push_back({0, 0});
    }
    // False, with nothing added, when `entry` is not the whole of a piece after the last one.
    bool Add(TextRange entry);
    PieceSelection Finish() &&;

private:
    void PassPiece(qsizetype end);
    // Where the piece `start_` begins ends: its CR, or the end of the text.
    qsizetype PieceEnd() const;

    QStringView text_;
    qsizetype separator_;
    std::span<const std::uint32_t> starts_;
    PieceSelection selection_;
    qsizetype piece_ = 0;      // the piece `start_` begins
    qsizetype start_ = 0;      // the first unit not passed yet
    qsizetype listLength_ = 0; // of the list so far
};
