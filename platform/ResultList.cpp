#include "platform/ResultList.h"

#include "platform/LargePages.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

// Two of Qt's vectorised scans: an entry may be one line of fifty million units.
bool HasBreak(QStringView units) {
    return units.contains(u'\n') || units.contains(u'\r');
}

} // namespace

qint64 ResultList::MemoryBytes() const {
    // Room reserved ahead for entries is only address space until written to.
    qint64 bytes = static_cast<qint64>(entries_.size() * sizeof(Placed) +
                                       longEntries_.capacity() * sizeof(qsizetype));
    if (pieces_)
        bytes += pieces_->MemoryBytes();
    if (source_.isDetached())
        bytes += source_.size() * qint64{2};
    return bytes;
}

TextRange ResultList::Entry(qsizetype i) const {
    if (pieces_)
        return pieces_->Entry(source_, i);
    return {entries_[static_cast<std::size_t>(i)].source, EntryLength(i)};
}

void ResultList::ForEachEntry(const std::function<void(TextRange)>& visit) const {
    if (pieces_) {
        pieces_->ForEachEntry(source_, visit);
        return;
    }
    for (qsizetype i = 0; i < EntryCount(); ++i)
        visit(Entry(i));
}

qsizetype ResultList::EntryLength(qsizetype i) const {
    if (pieces_)
        return Entry(i).length;
    const qsizetype next =
        i + 1 < EntryCount() ? entries_[static_cast<std::size_t>(i + 1)].at : length_;
    return next - entries_[static_cast<std::size_t>(i)].at - Separator();
}

qsizetype ResultList::PlacedAt(qsizetype i) const {
    if (pieces_)
        return pieces_->ListAt(source_, i, Separator());
    return entries_[static_cast<std::size_t>(i)].at;
}

qsizetype ResultList::EntryAt(qsizetype i) const {
    const qsizetype at = PlacedAt(i);
    return form_ == Form::Words ? at + 2 : at;
}

bool ResultList::StartsWithLF(qsizetype i) const {
    if (form_ != Form::Pieces)
        return false;
    const TextRange entry = Entry(i);
    return entry.length > 0 && source_[entry.start] == u'\n';
}

TextRange ResultList::Mark(qsizetype i) const {
    const TextRange entry = Entry(i);
    const bool endsWithCR = form_ == Form::Pieces && entry.End() < source_.size();
    return {entry.start, entry.length + (endsWithCR ? 1 : 0)};
}

void ResultList::ForEachMark(qsizetype first, qsizetype last,
                             const std::function<void(TextRange)>& visit) const {
    if (!pieces_) {
        for (qsizetype i = first; i < last; ++i)
            visit(Mark(i));
        return;
    }
    pieces_->ForEachEntry(source_, first, last, [&](TextRange entry) {
        visit({entry.start, entry.length + (entry.End() < source_.size() ? 1 : 0)});
    });
}

qsizetype ResultList::FirstMarkEndingAfter(qsizetype position) const {
    if (form_ != Form::Pieces)
        return FirstEntryEndingAfter(position);
    // A piece's mark ends one unit after the piece, with its CR; but for the last piece of the
    // text, which has none.
    const qsizetype i = FirstEntryEndingAfter(position - 1);
    return i < EntryCount() && Mark(i).End() <= position ? i + 1 : i;
}

qsizetype ResultList::FirstEntryEndingAfter(qsizetype position) const {
    qsizetype low = 0, high = EntryCount();
    while (low < high) {
        const qsizetype mid = low + (high - low) / 2;
        if (Entry(mid).End() > position)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

qsizetype ResultList::FirstEntryFrom(qsizetype position) const {
    if (pieces_)
        return pieces_->FirstEntryFrom(source_, position);
    const auto found = std::lower_bound(
        entries_.begin(), entries_.end(), position,
        [](const Placed& e, qsizetype p) { return static_cast<qsizetype>(e.source) < p; });
    return std::distance(entries_.begin(), found);
}

// Lines of the words form: an empty one before the first CR LF, then one a word. Lines of the
// pieces form: an empty one first where the first piece begins with an LF, one a piece (without
// that LF, which ends the line before), and an empty one after the last CR.
qsizetype ResultList::LeadingLines() const {
    return form_ == Form::Words || (EntryCount() > 0 && StartsWithLF(0)) ? 1 : 0;
}

qsizetype ResultList::LineCount() const {
    if (EntryCount() == 0)
        return 1;
    return EntryCount() + LeadingLines() + (form_ == Form::Pieces ? 1 : 0);
}

qsizetype ResultList::LineStart(qsizetype line) const {
    const qsizetype entry = line - LeadingLines();
    if (entry < 0)
        return 0;
    if (entry >= EntryCount())
        return length_;
    return EntryAt(entry) + (StartsWithLF(entry) ? 1 : 0);
}

qsizetype ResultList::LineEnd(qsizetype line) const {
    const qsizetype entry = line - LeadingLines();
    if (entry < 0)
        return 0;
    if (entry >= EntryCount())
        return length_;
    return EntryAt(entry) + EntryLength(entry);
}

QStringView ResultList::LineView(qsizetype line) const {
    const qsizetype entry = line - LeadingLines();
    if (entry < 0 || entry >= EntryCount())
        return {};
    const qsizetype skip = StartsWithLF(entry) ? 1 : 0;
    const TextRange placed = Entry(entry);
    return QStringView(source_).sliced(placed.start + skip, placed.length - skip);
}

qsizetype ResultList::LineAt(qsizetype position) const {
    if (EntryCount() == 0)
        return 0;
    if (position >= length_)
        return LineCount() - 1;
    // The entry whose stretch holds the position; inside its separator (or the LF in front of
    // it) the position is on the line before.
    qsizetype entry = EntryAtOrBefore(position);
    if (LineStart(entry + LeadingLines()) > position)
        --entry;
    return entry < 0 ? 0 : entry + LeadingLines();
}

std::optional<TextRange> ResultList::SourceOfLine(qsizetype line) const {
    const qsizetype entry = line - LeadingLines();
    if (entry < 0 || entry >= EntryCount())
        return std::nullopt;
    const TextRange placed = Entry(entry);
    const bool lf = form_ == Form::Pieces && placed.length > 0 && source_[placed.start] == u'\n';
    return TextRange{placed.start + (lf ? 1 : 0), placed.length - (lf ? 1 : 0)};
}

std::vector<qsizetype> ResultList::LongLines(qsizetype units) const {
    std::vector<qsizetype> lines;
    const auto note = [&](qsizetype i) {
        const qsizetype line = i + LeadingLines();
        if (LineEnd(line) - LineStart(line) > units)
            lines.push_back(line);
    };
    if (units >= kLongEntry) {
        for (const qsizetype i : longEntries_)
            note(i);
    } else {
        for (qsizetype i = 0; i < EntryCount(); ++i)
            note(i);
    }
    return lines;
}

void ResultList::AppendFromEntry(TextRange placed, qsizetype at, qsizetype from, qsizetype to,
                                 QString& out) const {
    // The entry's stretch of the list: its separator and its units, in the form's order.
    const QStringView units = QStringView(source_).sliced(placed.start, placed.length);
    const QStringView separator = form_ == Form::Words ? QStringView(u"\r\n") : QStringView(u"\r");
    const auto append = [&](QStringView part, qsizetype partAt) {
        const qsizetype a = std::max(from, partAt), b = std::min(to, partAt + part.size());
        if (a < b)
            out.append(part.sliced(a - partAt, b - a));
    };
    if (form_ == Form::Words) {
        append(separator, at);
        append(units, at + 2);
    } else {
        append(units, at);
        append(separator, at + placed.length);
    }
}

qsizetype ResultList::EntryAtOrBefore(qsizetype position) const {
    if (pieces_)
        return pieces_->LastEntryAtOrBefore(source_, position, Separator());
    auto entry = std::upper_bound(entries_.begin(), entries_.end(), position,
                                  [](qsizetype p, const Placed& e) { return p < e.at; });
    return std::max<qsizetype>(0, std::distance(entries_.begin(), entry) - 1);
}

void ResultList::AppendUnits(qsizetype from, qsizetype to, QString& out) const {
    if (EntryCount() == 0)
        return;
    qsizetype i = EntryAtOrBefore(from);
    for (qsizetype at = PlacedAt(i); i < EntryCount() && at < to; ++i) {
        const TextRange placed = Entry(i);
        AppendFromEntry(placed, at, from, to, out);
        at += placed.length + Separator();
    }
}

ResultList::Builder::Builder(QString source, Form form, std::size_t expectedEntries,
                             std::span<const std::uint32_t> pieceStarts)
    : list_(std::move(source), form) {
    if (form == Form::Pieces) {
        pieces_.emplace(list_.source_, list_.Separator(), pieceStarts);
        return;
    }
    list_.entries_.reserve(expectedEntries);
    AdviseLargePages(list_.entries_.data(), list_.entries_.capacity() * sizeof(Placed));
}

void ResultList::Builder::Add(TextRange entry) {
    const qsizetype end = list_.length_ + entry.length + list_.Separator();
    if (end > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("The list of differences is too long");
    if (entry.length > kLongEntry)
        list_.longEntries_.push_back(count_);
    if (pieces_ && !pieces_->Add(entry))
        PlaceSelected();
    if (!pieces_)
        AddPlaced(entry);
    ++count_;
    list_.length_ = end;
    QStringView units = QStringView(list_.source_).sliced(entry.start, entry.length);
    if (list_.form_ == Form::Pieces && units.startsWith(u'\n'))
        units = units.sliced(1);
    // A whole piece ends at its CR and holds none.
    if (list_.listable_ && (pieces_ ? units.contains(u'\n') : HasBreak(units)))
        list_.listable_ = false;
}

void ResultList::Builder::AddPlaced(TextRange entry) {
    list_.entries_.push_back(
        {static_cast<std::uint32_t>(entry.start), static_cast<std::uint32_t>(list_.length_)});
}

void ResultList::Builder::PlaceSelected() {
    const PieceSelection selected = std::move(*pieces_).Finish();
    pieces_.reset();
    list_.entries_.reserve(static_cast<std::size_t>(selected.Count()));
    qsizetype at = 0;
    for (qsizetype i = 0; i < selected.Count(); ++i) {
        const TextRange entry = selected.Entry(list_.source_, i);
        list_.entries_.push_back(
            {static_cast<std::uint32_t>(entry.start), static_cast<std::uint32_t>(at)});
        at += entry.length + list_.Separator();
    }
}

ResultList ResultList::Builder::Finish() && {
    if (pieces_)
        list_.pieces_ = std::make_shared<const PieceSelection>(std::move(*pieces_).Finish());
    return std::move(list_);
}
