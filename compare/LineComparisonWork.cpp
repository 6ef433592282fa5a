#include "compare/LineComparisonWork.h"

#include "compare/LineIndex.h"
#include "compare/LookalikeLines.h"
#include "compare/OneTableMembership.h"
#include "platform/ResultList.h"
#include "platform/Utf16View.h"

#include <future>

namespace RTB {

namespace {

constexpr std::size_t kSlice = std::size_t{1} << 14; // lines looked up between looks at the stop
// What a list of red lines takes, at most, a piece of its text (see PieceSelection).
constexpr qint64 kListBytesPerPiece = 1;

std::size_t PieceCount(std::u16string_view text) {
    return text.empty() ? 0
                        : static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\r')) + 1;
}

void Add(ResultList::Builder& list, compare::Piece piece) {
    list.Add({static_cast<qsizetype>(piece.start), static_cast<qsizetype>(piece.length)});
}

LineFindings Listed(ResultList::Builder&& list) {
    LineFindings found;
    found.list = std::make_shared<const ResultList>(std::move(list).Finish());
    return found;
}

// One direction, the pieces of `ownText` that `other` lacks, as a list.
LineFindings FindMissing(const QString& ownText, const compare::LineIndex& own,
                         const compare::LineIndex& other, LineWorkState& state) {
    ResultList::Builder list(ownText, ResultList::Form::Pieces);
    const std::size_t count = own.PieceCount();
    std::size_t first = 0;
    for (; first < count && !state.stop; first += kSlice) {
        const std::size_t last = std::min(count, first + kSlice);
        own.ForEachMissingIn(other, first, last, [&](compare::Piece piece) { Add(list, piece); });
        state.piecesDone += last - first;
    }
    LineFindings found = Listed(std::move(list));
    if (first < count) {
        found.stopped = true;
        found.linesDone = first;
    }
    return found;
}

// For each red line, a line of the other text it differs from only invisibly, if there is one.
void FindLookalikes(std::array<LineFindings, 2>& found, const compare::LineIndex& first,
                    const compare::LineIndex& second) {
    const auto redOf = [](const LineFindings& side) {
        std::vector<compare::Piece> pieces;
        pieces.reserve(static_cast<std::size_t>(side.list->EntryCount()));
        for (qsizetype i = 0; i < side.list->EntryCount(); ++i) {
            const TextRange entry = side.list->Entry(i);
            pieces.push_back(
                {static_cast<std::size_t>(entry.start), static_cast<std::size_t>(entry.length)});
        }
        return pieces;
    };
    const std::vector<compare::Piece> red[] = {redOf(found[0]), redOf(found[1])};
    const compare::LookalikeLinesOfBoth lookalikes =
        compare::FindLookalikeLinesOfBoth(first, red[0], second, red[1]);
    found[0].lookalikes =
        std::make_shared<const LineLookalikeNotes>(NoteLineLookalikes(lookalikes.ofFirst));
    found[1].lookalikes =
        std::make_shared<const LineLookalikeNotes>(NoteLineLookalikes(lookalikes.ofSecond));
    found[0].lookalikesSought = found[1].lookalikesSought = true;
}

qint64 LookalikeSearchBytes(const std::array<LineFindings, 2>& found) {
    qint64 lines = 0, units = 0;
    for (const LineFindings& side : found) {
        lines += side.list->EntryCount();
        units += side.list->Length() - side.list->EntryCount();
    }
    return LineLookalikeSearchBytes(lines, units);
}

std::array<LineFindings, 2> WithTwoTables(const QString& one, const QString& two, qint64 room,
                                          qint64 tables, LineWorkState& state) {
    auto secondIndex =
        std::async(std::launch::async, [&] { return compare::LineIndex(AsU16(two)); });
    const compare::LineIndex first(AsU16(one));
    const compare::LineIndex second = secondIndex.get();
    auto secondFound =
        std::async(std::launch::async, [&] { return FindMissing(two, second, first, state); });
    std::array<LineFindings, 2> found;
    found[0] = FindMissing(one, first, second, state);
    found[1] = secondFound.get();
    if (!state.stop && tables + LookalikeSearchBytes(found) <= room)
        FindLookalikes(found, first, second);
    if (!state.stop &&
        tables + static_cast<qint64>(compare::RepeatedLines::CountingBytes(first, second)) <=
            room) {
        auto [ofFirst, ofSecond] = compare::RepeatedLines::OfBoth(first, second);
        found[0].repeats = std::make_shared<const compare::RepeatedLines>(std::move(ofFirst));
        found[1].repeats = std::make_shared<const compare::RepeatedLines>(std::move(ofSecond));
    }
    return found;
}

std::array<LineFindings, 2> WithOneTable(const QString& one, const QString& two,
                                         LineWorkState& state) {
    ResultList::Builder lists[] = {ResultList::Builder(one, ResultList::Form::Pieces),
                                   ResultList::Builder(two, ResultList::Form::Pieces)};
    compare::OneTableMembership::Run(
        AsU16(one), AsU16(two), [&](compare::Piece piece) { Add(lists[0], piece); },
        [&](compare::Piece piece) { Add(lists[1], piece); },
        [&](std::size_t done) {
            state.piecesDone = done;
            return !state.stop;
        });
    std::array<LineFindings, 2> found = {Listed(std::move(lists[0])), Listed(std::move(lists[1]))};
    found[0].stopped = found[1].stopped = state.stop.load();
    return found;
}

} // namespace

std::array<LineFindings, 2> WorkOutLineComparison(const QString& one, const QString& two,
                                                  qint64 room, LineWorkState& state) {
    const std::size_t pieces[] = {PieceCount(AsU16(one)), PieceCount(AsU16(two))};
    state.pieceTotal = pieces[0] + pieces[1];
    const qint64 lists = kListBytesPerPiece * static_cast<qint64>(pieces[0] + pieces[1]);
    const qint64 tables = static_cast<qint64>(compare::OneTableMembership::kIndexBytesPerPiece *
                                              (pieces[0] + pieces[1] + 2));
    if (lists + tables <= room)
        return WithTwoTables(one, two, room - lists, tables, state);
    return WithOneTable(one, two, state);
}

} // namespace RTB
