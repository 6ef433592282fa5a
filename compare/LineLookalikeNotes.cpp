#include "compare/LineLookalikeNotes.h"

#include "compare/Lines.h"
#include "compare/Lookalike.h"
#include "compare/LookalikeDescription.h"
#include "platform/ResultList.h"
#include "platform/Utf16View.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace RTB {

LineLookalikeNotes
NoteLineLookalikes(const std::vector<std::optional<compare::LineLookalike>>& found) {
    LineLookalikeNotes notes;
    for (std::size_t i = 0; i < found.size(); ++i)
        if (found[i])
            notes.push_back({static_cast<std::uint32_t>(i),
                             static_cast<std::uint32_t>(found[i]->piece.start),
                             static_cast<std::uint32_t>(found[i]->line)});
    notes.shrink_to_fit();
    return notes;
}

qint64 LineLookalikeSearchBytes(qint64 redLines, qint64 redUnits) {
    // A red line's place, its key in the tables, its group, its candidates and what is found for
    // it take about 160 bytes; four bytes a unit leave room for the keys worked out on the way.
    constexpr qint64 kBytesPerLine = 160;
    constexpr qint64 kBytesPerUnit = 4;
    return kBytesPerLine * redLines + kBytesPerUnit * redUnits;
}

Pane::TipSource LineLookalikeTips(const Pane& other, std::shared_ptr<const ResultList> list,
                                  std::shared_ptr<const LineLookalikeNotes> notes,
                                  const QString& otherName) {
    return [other = &other, generation = other.TextGeneration(), list = std::move(list),
            notes = std::move(notes), otherName](qsizetype position) -> QString {
        if (other->TextGeneration() != generation)
            return {};
        const qsizetype i = list->FirstEntryEndingAfter(position);
        if (i >= list->EntryCount() || list->Entry(i).start > position)
            return {};
        const auto note = std::lower_bound(
            notes->begin(), notes->end(), i,
            [](const LineLookalikeNote& n, qsizetype entry) { return n.entry < entry; });
        if (note == notes->end() || note->entry != i)
            return {};
        const TextRange red = list->Entry(i);
        const std::u16string_view otherText = AsU16(other->Text());
        const std::u16string_view ownLine =
            compare::LineContent(AsU16(list->Source()).substr(red.start, red.length));
        const std::size_t otherEnd =
            std::min(otherText.find(u'\r', note->otherStart), otherText.size());
        const std::u16string_view otherLine =
            compare::LineContent(otherText.substr(note->otherStart, otherEnd - note->otherStart));
        const auto kinds = compare::ExplainLookalike(ownLine, otherLine);
        if (!kinds)
            return {};
        return u"Differs from line %1 of %2 only by: %3"_s.arg(note->otherLine)
            .arg(otherName,
                 QString::fromStdString(compare::DescribeLookalike(*kinds, ownLine, otherLine)));
    };
}

} // namespace RTB
