#include "platform/ResultList.h"

#include "platform/LargePages.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

bool HasBreak(QStringView units) {
    for (const QChar unit : units)
        if (unit.unicode() <= u'\r' && (unit == u'\r' || unit == u'\n'))
            return true;
    return false;
}

} // namespace

TextRange ResultList::Entry(qsizetype i) const {
    return {entries_[static_cast<std::size_t>(i)].source, EntryLength(i)};
}

qsizetype ResultList::EntryLength(qsizetype i) const {
    const qsizetype next =
        i + 1 < EntryCount() ? entries_[static_cast<std::size_t>(i + 1)].at : length_;
    return next - entries_[static_cast<std::size_t>(i)].at - Separator();
}

qsizetype ResultList::EntryAt(qsizetype i) const {
    const qsizetype at = entries_[static_cast<std::size_t>(i)].at;
    return form_ == Form::Words ? at + 2 : at;
}

bool ResultList::StartsWithLF(qsizetype i) const {
    return form_ == Form::Pieces && EntryLength(i) > 0 &&
           source_[entries_[static_cast<std::size_t>(i)].source] == u'\n';
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
    // The last entry whose line starts at or before the position.
    qsizetype low = 0, high = EntryCount();
    while (low < high) {
        const qsizetype mid = low + (high - low) / 2;
        if (LineStart(mid + LeadingLines()) <= position)
            low = mid + 1;
        else
            high = mid;
    }
    if (position >= length_ && EntryCount() > 0)
        return LineCount() - 1;
    return low == 0 ? 0 : low - 1 + LeadingLines();
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

void ResultList::AppendFromEntry(qsizetype i, qsizetype from, qsizetype to, QString& out) const {
    // The entry's stretch of the list: its separator and its units, in the form's order.
    const qsizetype at = entries_[static_cast<std::size_t>(i)].at;
    const TextRange placed = Entry(i);
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

void ResultList::AppendUnits(qsizetype from, qsizetype to, QString& out) const {
    auto entry = std::upper_bound(entries_.begin(), entries_.end(), from,
                                  [](qsizetype p, const Placed& e) { return p < e.at; });
    qsizetype i = std::max<qsizetype>(0, std::distance(entries_.begin(), entry) - 1);
    for (; i < EntryCount() && entries_[static_cast<std::size_t>(i)].at < to; ++i)
        AppendFromEntry(i, from, to, out);
}

ResultList::Builder::Builder(QString source, Form form, std::size_t expectedEntries)
    : list_(std::move(source), form) {
    list_.entries_.reserve(expectedEntries);
    AdviseLargePages(list_.entries_.data(), list_.entries_.capacity() * sizeof(Placed));
}

void ResultList::Builder::Add(TextRange entry) {
    const qsizetype end = list_.length_ + entry.length + list_.Separator();
    if (end > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("The list of differences is too long");
    if (entry.length > kLongEntry)
        list_.longEntries_.push_back(list_.EntryCount());
    list_.entries_.push_back(
        {static_cast<std::uint32_t>(entry.start), static_cast<std::uint32_t>(list_.length_)});
    list_.length_ = end;
    QStringView units = QStringView(list_.source_).sliced(entry.start, entry.length);
    if (list_.form_ == Form::Pieces && units.startsWith(u'\n'))
        units = units.sliced(1);
    if (list_.listable_ && HasBreak(units))
        list_.listable_ = false;
}
