#include "platform/PieceSelection.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace {

// Where the piece that starts at `from` ends: its CR, or the end of the text.
qsizetype PieceEnd(QStringView text, qsizetype from) {
    const qsizetype cr = text.indexOf(u'\r', from);
    return cr < 0 ? text.size() : cr;
}

} // namespace

qsizetype PieceSelection::Builder::PieceEnd() const {
    if (const auto next = static_cast<std::size_t>(piece_) + 1; next < starts_.size())
        return static_cast<qsizetype>(starts_[next]) - 1;
    return ::PieceEnd(text_, start_);
}

bool PieceSelection::Builder::Add(TextRange entry) {
    if (text_.size() >= std::numeric_limits<std::uint32_t>::max() - 1 || entry.start < start_ ||
        entry.End() > text_.size())
        return false;
    while (start_ < entry.start) {
        const qsizetype end = PieceEnd();
        if (end >= entry.start)
            return false; // the entry begins inside a piece
        PassPiece(end);
    }
    const qsizetype end = PieceEnd();
    if (end != entry.End())
        return false;
    const auto word = static_cast<std::size_t>(piece_ / 64);
    if (selection_.bits_.size() <= word)
        selection_.bits_.resize(word + 1, 0);
    selection_.bits_[word] |= std::uint64_t{1} << (piece_ % 64);
    if (selection_.count_ % kEntriesBetweenPlaces == 0)
        selection_.places_.push_back(static_cast<std::uint32_t>(listLength_));
    ++selection_.count_;
    listLength_ += entry.length + separator_;
    PassPiece(end);
    return true;
}

void PieceSelection::Builder::PassPiece(qsizetype end) {
    ++piece_;
    start_ = end + 1;
    const Noted& last = selection_.notes_.back();
    if (piece_ - last.piece >= kPiecesBetweenNotes || start_ - last.start >= kUnitsBetweenNotes)
        selection_.notes_.push_back(
            {static_cast<std::uint32_t>(piece_), static_cast<std::uint32_t>(start_)});
}

PieceSelection PieceSelection::Builder::Finish() && {
    if (selection_.notes_.back().piece != piece_)
        selection_.notes_.push_back(
            {static_cast<std::uint32_t>(piece_), static_cast<std::uint32_t>(start_)});
    std::uint32_t before = 0;
    for (std::size_t word = 0; word < selection_.bits_.size(); ++word) {
        if (word % (kBitsPerRank / 64) == 0)
            selection_.ranks_.push_back(before);
        before += static_cast<std::uint32_t>(std::popcount(selection_.bits_[word]));
    }
    selection_.bits_.shrink_to_fit();
    selection_.notes_.shrink_to_fit();
    selection_.places_.shrink_to_fit();
    return std::move(selection_);
}

qsizetype PieceSelection::PieceOf(qsizetype entry) const {
    const auto block = std::upper_bound(ranks_.begin(), ranks_.end(), entry) - ranks_.begin() - 1;
    qsizetype left = entry - ranks_[static_cast<std::size_t>(block)];
    for (auto word = static_cast<std::size_t>(block * (kBitsPerRank / 64));; ++word) {
        std::uint64_t bits = bits_[word];
        const int set = std::popcount(bits);
        if (left < set) {
            for (; left > 0; --left)
                bits &= bits - 1;
            return static_cast<qsizetype>(word * 64) + std::countr_zero(bits);
        }
        left -= set;
    }
}

qsizetype PieceSelection::EntriesBefore(qsizetype piece) const {
    const auto word = static_cast<std::size_t>(piece / 64);
    if (word >= bits_.size())
        return count_;
    const std::size_t first = word / (kBitsPerRank / 64) * (kBitsPerRank / 64);
    qsizetype before = ranks_[word / (kBitsPerRank / 64)];
    for (std::size_t w = first; w < word; ++w)
        before += std::popcount(bits_[w]);
    return before + std::popcount(bits_[word] & ((std::uint64_t{1} << (piece % 64)) - 1));
}

std::vector<PieceSelection::Noted>::const_iterator PieceSelection::NoteFor(qsizetype piece) const {
    return std::prev(
        std::upper_bound(notes_.begin(), notes_.end(), piece, [](qsizetype p, const Noted& noted) {
            return p < static_cast<qsizetype>(noted.piece);
        }));
}

// Between two notes, every piece but the last ends within kUnitsBetweenNotes of the first note,
// and the last ends just before the next note: no scan is long, however long the lines.
TextRange PieceSelection::PieceBounds(QStringView text, qsizetype piece) const {
    const auto note = NoteFor(piece);
    const auto next = std::next(note);
    const auto endOf = [&](qsizetype p, qsizetype start) {
        return next != notes_.end() && p + 1 == next->piece ? next->start - qsizetype{1}
                                                            : PieceEnd(text, start);
    };
    qsizetype start = note->start;
    for (qsizetype p = note->piece; p < piece; ++p)
        start = endOf(p, start) + 1;
    return {start, endOf(piece, start) - start};
}

PieceSelection::Held PieceSelection::PieceAt(QStringView text, qsizetype position) const {
    const auto next = std::upper_bound(
        notes_.begin(), notes_.end(), position,
        [](qsizetype p, const Noted& noted) { return p < static_cast<qsizetype>(noted.start); });
    if (next == notes_.end())
        return {-1, 0};
    const auto note = std::prev(next);
    qsizetype start = note->start;
    for (qsizetype p = note->piece;; ++p) {
        if (p + 1 == next->piece)
            return {p, start};
        const qsizetype end = PieceEnd(text, start);
        if (position <= end)
            return {p, start};
        start = end + 1;
    }
}

qint64 PieceSelection::MemoryBytes() const {
    return static_cast<qint64>(
        bits_.capacity() * sizeof(std::uint64_t) + ranks_.capacity() * sizeof(std::uint32_t) +
        notes_.capacity() * sizeof(Noted) + places_.capacity() * sizeof(std::uint32_t));
}

TextRange PieceSelection::Entry(QStringView text, qsizetype i) const {
    return PieceBounds(text, PieceOf(i));
}

void PieceSelection::ForEachEntry(QStringView text,
                                  const std::function<void(TextRange)>& visit) const {
    ForEachEntry(text, 0, count_, visit);
}

void PieceSelection::ForEachEntry(QStringView text, qsizetype first, qsizetype last,
                                  const std::function<void(TextRange)>& visit) const {
    if (first >= last)
        return;
    const qsizetype firstPiece = PieceOf(first);
    qsizetype start = PieceBounds(text, firstPiece).start;
    qsizetype left = last - first;
    for (qsizetype piece = firstPiece; left > 0; ++piece) {
        const qsizetype end = PieceEnd(text, start);
        if ((bits_[static_cast<std::size_t>(piece / 64)] >> (piece % 64)) & 1) {
            visit({start, end - start});
            --left;
        }
        start = end + 1;
    }
}

qsizetype PieceSelection::ListAt(QStringView text, qsizetype i, qsizetype separator) const {
    const qsizetype first = i / kEntriesBetweenPlaces * kEntriesBetweenPlaces;
    qsizetype at = places_[static_cast<std::size_t>(i / kEntriesBetweenPlaces)];
    for (qsizetype j = first; j < i; ++j)
        at += Entry(text, j).length + separator;
    return at;
}

qsizetype PieceSelection::LastEntryAtOrBefore(QStringView text, qsizetype position,
                                              qsizetype separator) const {
    const auto after = std::upper_bound(places_.begin(), places_.end(), position,
                                        [](qsizetype p, std::uint32_t at) { return p < at; });
    if (after == places_.begin())
        return 0;
    qsizetype i = (std::distance(places_.begin(), after) - 1) * kEntriesBetweenPlaces;
    qsizetype at = *std::prev(after);
    while (i + 1 < count_) {
        const qsizetype next = at + Entry(text, i).length + separator;
        if (next > position)
            break;
        at = next;
        ++i;
    }
    return i;
}

qsizetype PieceSelection::FirstEntryFrom(QStringView text, qsizetype position) const {
    if (position <= 0)
        return 0;
    const Held held = PieceAt(text, position);
    if (held.piece < 0)
        return count_;
    return EntriesBefore(held.start == position ? held.piece : held.piece + 1);
}
