#include "compare/LineComparisonWork.h"

#include "compare/LinesUnderRules.h"
#include "compare/LookalikeLines.h"
#include "compare/OneTableMembership.h"
#include "compare/Prefetch.h"
#include "compare/SideBySide.h"
#include "platform/ResultList.h"
#include "platform/Utf16View.h"

namespace RTB {

namespace {

constexpr std::size_t kSlice = std::size_t{1} << 14; // lines looked up between looks at the stop
constexpr std::size_t kListAhead = 8; // missing lines asked for ahead of their listing
// What a list of red lines takes, at most, a piece of its text (see PieceSelection).
constexpr qint64 kListBytesPerPiece = 1;
// What the rules take for each line missing as it stands: its place and what became of it, its
// key in the table of missing keys, and what a rule matched, kept for the pane.
constexpr qint64 kRuleBytesPerMissing = static_cast<qint64>(
    compare::kSortedOutBytes + compare::kMissingKeyBytes + sizeof(compare::RuleMatch));

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
    ResultList::Builder list(ownText, ResultList::Form::Pieces, 0, own.PieceStarts());
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

// How many pieces of `own` the other text lacks as they stand; nothing when told to stop.
std::optional<std::size_t> CountMissing(const compare::LineIndex& own,
                                        const compare::LineIndex& other, LineWorkState& state) {
    std::size_t missing = 0;
    for (std::size_t first = 0; first < own.PieceCount(); first += kSlice) {
        if (state.stop)
            return std::nullopt;
        own.ForEachMissingIn(other, first, std::min(own.PieceCount(), first + kSlice),
                             [&](compare::Piece) { ++missing; });
    }
    return missing;
}

// Both directions under the rules: the lines each text lacks as they stand, sorted out into red
// ones, listed, and those a rule matched. Where the keys of all the missing lines do not fit the
// room, they are sorted out a batch at a time.
std::array<LineFindings, 2> UnderRules(const QString& one, const QString& two,
                                       const compare::LineIndex& first,
                                       const compare::LineIndex& second,
                                       const compare::ComparisonRules& rules, qint64 room,
                                       qint64 mayBeMissing, LineWorkState& state) {
    const qint64 keysRoom = room - mayBeMissing * static_cast<qint64>(compare::kSortedOutBytes);
    const std::size_t mostAtOnce = static_cast<std::size_t>(
        std::max<qint64>(1, keysRoom / 2 / static_cast<qint64>(compare::kMissingKeyBytes)));
    const compare::KeepGoing keepGoing = [&] { return !state.stop; };
    const std::array<compare::LinesUnderRules, 2> sorted =
        compare::CompareLinesUnderRules(first, second, rules, keepGoing, mostAtOnce);
    const QString* texts[] = {&one, &two};
    const compare::LineIndex* owns[] = {&first, &second};
    std::array<LineFindings, 2> found;
    const auto list = [&](int side) {
        ResultList::Builder red(*texts[side], ResultList::Form::Pieces, 0,
                                owns[side]->PieceStarts());
        std::vector<compare::RuleMatch> matched;
        // The missing lines stand far apart in a text far larger than the cache, and a red one
        // is read as it is listed: each is asked for a few lines before its turn.
        const compare::LinesUnderRules& ofSide = sorted[side];
        const char16_t* const units = owns[side]->Text().data();
        std::size_t next = 0;
        const auto askAhead = [&] {
            if (next + kListAhead < ofSide.MissingCount())
                TARNWICK_PREFETCH(units + ofSide.Missing(next + kListAhead).start);
            ++next;
        };
        ofSide.ForEach(
            *owns[1 - side],
            [&](compare::Piece piece) {
                askAhead();
                Add(red, piece);
            },
            [&](const compare::RuleMatch& match) {
                askAhead();
                matched.push_back(match);
            });
        found[side] = Listed(std::move(red));
        found[side].matched =
            std::make_shared<const std::vector<compare::RuleMatch>>(std::move(matched));
        found[side].stopped = sorted[side].stopped || state.stop;
    };
    compare::SideBySide(list);
    state.piecesDone = state.pieceTotal.load();
    return found;
}

// For each red line, a line of the other text it differs from only invisibly, if there is one.
void FindLookalikes(std::array<LineFindings, 2>& found, const compare::LineIndex& first,
                    const compare::LineIndex& second) {
    const auto redOf = [](const LineFindings& side) {
        std::vector<compare::Piece> pieces;
        pieces.reserve(static_cast<std::size_t>(side.list->EntryCount()));
        // In one walk: each entry found again on its own would scan from its nearest note.
        side.list->ForEachEntry([&](TextRange entry) {
            pieces.push_back(
                {static_cast<std::size_t>(entry.start), static_cast<std::size_t>(entry.length)});
        });
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

std::array<LineFindings, 2> PlainBoth(const QString& one, const QString& two,
                                      const compare::LineIndex& first,
                                      const compare::LineIndex& second, LineWorkState& state) {
    auto [ofFirst, ofSecond] = compare::SideBySide([&](int side) {
        return side == 0 ? FindMissing(one, first, second, state)
                         : FindMissing(two, second, first, state);
    });
    return {std::move(ofFirst), std::move(ofSecond)};
}

// How many lines the rules may have to sort out, were every line missing: all of them, unless
// that does not fit the room; then they are counted, and nothing when the rules do not fit even so.
std::optional<qint64> LinesForTheRules(const compare::LineIndex& first,
                                       const compare::LineIndex& second, qint64 room,
                                       LineWorkState& state) {
    const auto all = static_cast<qint64>(first.PieceCount() + second.PieceCount());
    if (all * kRuleBytesPerMissing <= room)
        return all;
    const auto [ofFirst, ofSecond] = compare::SideBySide([&](int side) {
        return side == 0 ? CountMissing(first, second, state) : CountMissing(second, first, state);
    });
    if (!ofFirst || !ofSecond)
        return std::nullopt;
    const auto missing = static_cast<qint64>(*ofFirst + *ofSecond);
    if (missing * kRuleBytesPerMissing > room)
        return std::nullopt;
    return missing;
}

LineComparison WithTwoTables(const QString& one, const QString& two,
                             const std::array<std::size_t, 2>& pieces, qint64 room, qint64 tables,
                             LineWorkState& state, const compare::ComparisonRules& rules) {
    auto [ofOne, ofTwo] = compare::SideBySide(
        [&](int side) { return compare::LineIndex(AsU16(side == 0 ? one : two), pieces[side]); });
    auto made = std::make_shared<LineTables>(one, two, std::move(ofOne), std::move(ofTwo));
    const compare::LineIndex& first = made->first;
    const compare::LineIndex& second = made->second;
    LineComparison comparison;
    std::array<LineFindings, 2>& found = comparison.found;
    // The rules' work grows with the lines missing as they stand, which are few between texts
    // that are much alike, however many lines they have.
    const std::optional<qint64> forTheRules =
        rules.Any() ? LinesForTheRules(first, second, room - tables, state) : std::nullopt;
    if (forTheRules) {
        found = UnderRules(one, two, first, second, rules, room - tables, *forTheRules, state);
        // What the rules matched stays held beside the tables while the rest is worked out.
        for (const LineFindings& side : found)
            room -= static_cast<qint64>(side.matched->size() * sizeof(compare::RuleMatch));
    } else {
        found = PlainBoth(one, two, first, second, state);
        for (LineFindings& side : found)
            side.rulesLeftOut = rules.Any();
    }
    if (state.stop)
        return comparison;
    made->lookalikesFit = tables + LookalikeSearchBytes(found) <= room;
    made->repeatsFit =
        tables + static_cast<qint64>(compare::RepeatedLines::CountingBytes(first, second)) <= room;
    comparison.tables = std::move(made);
    return comparison;
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

LineTables::LineTables(QString one, QString two, compare::LineIndex ofOne, compare::LineIndex ofTwo)
    : texts{std::move(one), std::move(two)}, first(std::move(ofOne)), second(std::move(ofTwo)) {}

LineComparison WorkOutLineComparison(const QString& one, const QString& two, qint64 room,
                                     LineWorkState& state, const compare::ComparisonRules& rules) {
    // The texts are counted side by side: that is a pass over each of them.
    const auto [ofOne, ofTwo] = compare::SideBySide(
        [&](int side) { return compare::LineIndex::CountPieces(AsU16(side == 0 ? one : two)); });
    const std::array<std::size_t, 2> pieces = {ofOne, ofTwo};
    state.pieceTotal = pieces[0] + pieces[1];
    const qint64 lists = kListBytesPerPiece * static_cast<qint64>(pieces[0] + pieces[1]);
    const qint64 tables = static_cast<qint64>(compare::OneTableMembership::kIndexBytesPerPiece *
                                              (pieces[0] + pieces[1] + 2));
    if (lists + tables <= room)
        return WithTwoTables(one, two, pieces, room - lists, tables, state, rules);
    LineComparison comparison{WithOneTable(one, two, state), nullptr};
    for (LineFindings& side : comparison.found)
        side.rulesLeftOut = rules.Any();
    return comparison;
}

void WorkOutLineNotes(std::array<LineFindings, 2>& found, const LineTables& tables,
                      const std::function<bool()>& keepGoing) {
    if (tables.lookalikesFit && keepGoing())
        FindLookalikes(found, tables.first, tables.second);
    if (tables.repeatsFit && keepGoing()) {
        auto [ofFirst, ofSecond] = compare::RepeatedLines::OfBoth(tables.first, tables.second);
        found[0].repeats = std::make_shared<const compare::RepeatedLines>(std::move(ofFirst));
        found[1].repeats = std::make_shared<const compare::RepeatedLines>(std::move(ofSecond));
    }
}

} // namespace RTB
