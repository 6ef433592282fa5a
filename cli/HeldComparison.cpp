#include "cli/HeldComparison.h"

#include "cli/EntryNumbering.h"
#include "cli/EntryPlaces.h"
#include "cli/FirstEntry.h"
#include "cli/LineCounts.h"
#include "cli/LookalikePasses.h"
#include "cli/RulePasses.h"

#include "compare/LineIndex.h"
#include "compare/LinesUnderRules.h"
#include "compare/WordPass.h"
#include "compare/WordsUnderRules.h"

#include <algorithm>
#include <exception>
#include <future>
#include <optional>

namespace {

// At most what a line index costs a piece (see LineIndex).
constexpr qint64 kIndexBytesPerPiece = 16;
// At most what the line comparison under rules keeps a piece, were every piece missing: its place
// and what the rules made of it (the table of keys takes what room is left, see CompareHeld).
constexpr qint64 kRuleBytesPerPiece = qint64{compare::kSortedOutBytes};

Pass MissingLines(const compare::LineIndex& own, const compare::LineIndex& other) {
    return [&own, &other](EntrySink& sink) {
        const std::u16string_view text = own.Text();
        own.ForEachMissingIn(other, 0, own.PieceCount(), [&](compare::Piece piece) {
            const bool endsWithCR = piece.start + piece.length < text.size();
            sink.Entry(text.substr(piece.start, piece.length), u"\r", piece.start,
                       piece.length + (endsWithCR ? 1 : 0), {});
        });
    };
}

Pass UnmatchedWords(std::u16string_view own, std::u16string_view other) {
    return [own, other](EntrySink& sink) {
        compare::ForEachUnmatchedWord(
            own, other,
            [&](std::size_t start, std::size_t length) {
                sink.Entry(u"\r\n", own.substr(start, length), start, length, {});
            },
            [](std::size_t) { return true; });
    };
}

// One side of the report: its text, its pass and, with --counts, its counted lines.
struct Side {
    std::u16string_view text;
    Pass pass;
    CountPass counted = {};
};

// Side 2 is worked out on another thread, and its report made there as far as the room lasts,
// while side 1 is worked out and written. Where each side's entries stand is kept, so that its
// report is made again from the text, with the entries' lines where they are asked for.
void WriteBoth(const CliOptions& options, const Side& one, const Side& two, SideReport& first,
               SideReport& second, ByteSink& out, KeptRoom& room) {
    const auto numbered = [&](const Pass& pass, std::u16string_view text) {
        return Numbered(pass, text, options.mode);
    };
    EntryPlaces secondPlaces(room, options.mode);
    auto kept = std::async(std::launch::async, [&] {
        two.pass(secondPlaces);
        if (secondPlaces.Complete())
            second.Keep(numbered(secondPlaces.Replay(two.text), two.text));
    });
    std::exception_ptr failure;
    try {
        EntryPlaces firstPlaces(room, options.mode);
        one.pass(firstPlaces);
        if (firstPlaces.Complete())
            first.CountIs(static_cast<qint64>(firstPlaces.Count()));
        first.Write(
            numbered(firstPlaces.Complete() ? firstPlaces.Replay(one.text) : one.pass, one.text),
            out, one.counted);
    } catch (...) {
        failure = std::current_exception();
    }
    kept.get(); // what it threw comes first
    if (failure)
        std::rethrow_exception(failure);
    second.Write(
        numbered(secondPlaces.Complete() ? secondPlaces.Replay(two.text) : two.pass, two.text), out,
        two.counted);
}

// Both texts, read side by side.
std::pair<std::u16string, std::u16string> TakeBoth(InputText& one, InputText& two) {
    auto second = std::async(std::launch::async, [&] { return two.TakeAll(); });
    std::u16string first = one.TakeAll();
    return {std::move(first), second.get()};
}

std::pair<compare::LineIndex, compare::LineIndex> IndexBoth(std::u16string_view one,
                                                            std::u16string_view two) {
    auto second = std::async(std::launch::async, [&] { return compare::LineIndex(two); });
    compare::LineIndex first(one);
    return {std::move(first), second.get()};
}

void CompareWords(const CliOptions& options, std::u16string_view firstText,
                  std::u16string_view otherText, SideReport& first, SideReport& second,
                  ByteSink& out, KeptRoom& room) {
    const compare::ComparisonRules& rules = options.rules;
    const auto pass = [&](std::u16string_view own, std::u16string_view other) {
        if (rules.Any())
            return WordsUnderRules(own, other, rules, options.json || options.explain,
                                   options.explain);
        return options.explain ? WordsWithLookalikes(own, other) : UnmatchedWords(own, other);
    };
    const Side one{firstText, pass(firstText, otherText)};
    const Side two{otherText, pass(otherText, firstText)};
    // A line of millions of words is searched through an index of its partner line; when the
    // two sides' indexes together would not fit, one side is worked out after the other.
    // The room is three quarters of the memory left (see Compare in CliComparison.cpp); an
    // index takes what it holds. Under rules that make words equal a side also holds the forms
    // of a line and of its partner line.
    const auto indexBytes = [&](std::u16string_view own, std::u16string_view partners) {
        const qint64 forms =
            rules.MakesEqual() ? static_cast<qint64>(compare::FormBytes(own, partners)) : 0;
        return static_cast<qint64>(
                   compare::PartnerLine::IndexBytes(compare::MostWordsOnALine(partners))) /
                   4 * 3 +
               forms;
    };
    const qint64 firstIndex = indexBytes(firstText, otherText);
    const qint64 secondIndex = indexBytes(otherText, firstText);
    if (room.Take(firstIndex + secondIndex)) {
        WriteBoth(options, one, two, first, second, out, room);
        room.GiveBack(firstIndex + secondIndex);
    } else {
        // What is kept for the report's turn makes way for the one index.
        const qint64 taken = room.TakeUpTo(std::max(firstIndex, secondIndex));
        first.Write(Numbered(one.pass, one.text, options.mode), out);
        second.Write(Numbered(two.pass, two.text, options.mode), out);
        room.GiveBack(taken);
    }
}

} // namespace

qint64 HeldBytes(const CliOptions& options, const InputText& one, const InputText& two) {
    // The texts are read whole while what is kept of a pipe is still held; it goes before the
    // line indexes are made.
    qint64 texts = 0, kept = 0, indexes = 0;
    for (const InputText* text : {&one, &two}) {
        texts += qint64{text->Length()} * qint64{sizeof(char16_t)};
        kept += text->KeptBytes();
        if (options.mode == CliOptions::Mode::Lines)
            indexes += (qint64{text->CRs()} + 2) * kIndexBytesPerPiece +
                       (options.counts ? LineCountBytes(text->CRs()) : 0);
        // Counted as if every line were missing.
        if (options.mode == CliOptions::Mode::Lines && options.rules.Any())
            indexes += (qint64{text->CRs()} + 2) * kRuleBytesPerPiece;
    }
    return texts + std::max(kept, indexes);
}

bool CompareHeld(const CliOptions& options, InputText& one, InputText& two, SideReport& first,
                 SideReport& second, ByteSink& out, KeptRoom& room) {
    const auto [firstText, otherText] = TakeBoth(one, two);
    if (options.mode == CliOptions::Mode::Words) {
        CompareWords(options, firstText, otherText, first, second, out, room);
        return true;
    }
    const auto [firstIndex, otherIndex] = IndexBoth(firstText, otherText);
    std::array<std::vector<CountedPiece>, 2> counted;
    if (options.counts)
        counted = CountLines(firstIndex, otherIndex, !options.exact);
    const auto countedOf = [&](int side, const compare::LineIndex& own) {
        return options.counts ? CountedLinesOf(counted[side], own) : CountPass();
    };
    const compare::ComparisonRules& rules = options.rules;
    const bool nameRules = options.json || options.explain;
    if (options.explain || rules.Any()) {
        std::array<RedLines, 2> red =
            rules.Any() ? FindRedLinesUnderRules(firstIndex, otherIndex, rules, room)
                        : FindRedLines(firstIndex, otherIndex);
        const auto linesOf = [&](int side, std::u16string_view own,
                                 const compare::LineIndex& ownIndex,
                                 const compare::LineIndex& other) {
            return Side{own, LinesWithLookalikes(red[side], own, other, rules, nameRules),
                        countedOf(side, ownIndex)};
        };
        if (!options.explain) {
            WriteBoth(options, linesOf(0, firstText, firstIndex, otherIndex),
                      linesOf(1, otherText, otherIndex, firstIndex), first, second, out, room);
            return true;
        }
        // What the search holds stays taken while the report is written from what it found.
        const qint64 searchBytes = LookalikeSearchBytes(red);
        const bool searched = room.Take(searchBytes);
        if (searched) {
            FindLookalikeLines(red, firstIndex, otherIndex);
        } else {
            first.WithoutLookalikes();
            second.WithoutLookalikes();
        }
        WriteBoth(options, linesOf(0, firstText, firstIndex, otherIndex),
                  linesOf(1, otherText, otherIndex, firstIndex), first, second, out, room);
        if (searched)
            room.GiveBack(searchBytes);
        return searched;
    }
    WriteBoth(options, {firstText, MissingLines(firstIndex, otherIndex), countedOf(0, firstIndex)},
              {otherText, MissingLines(otherIndex, firstIndex), countedOf(1, otherIndex)}, first,
              second, out, room);
    return true;
}

bool AnyDifferenceHeld(const CliOptions& options, InputText& one, InputText& two, KeptRoom& room) {
    const auto [firstText, otherText] = TakeBoth(one, two);
    const compare::ComparisonRules& rules = options.rules;
    if (options.mode == CliOptions::Mode::Words && rules.Any()) {
        return AnyEntry(WordsUnderRules(firstText, otherText, rules, false, false)) ||
               AnyEntry(WordsUnderRules(otherText, firstText, rules, false, false));
    }
    if (options.mode == CliOptions::Mode::Words) {
        const auto anyWord = [](std::u16string_view own, std::u16string_view other) {
            bool found = false;
            compare::ForEachUnmatchedWord(
                own, other, [&](std::size_t, std::size_t) { found = true; },
                [&](std::size_t) { return !found; });
            return found;
        };
        return anyWord(firstText, otherText) || anyWord(otherText, firstText);
    }
    const auto [firstIndex, otherIndex] = IndexBoth(firstText, otherText);
    if (rules.Any()) {
        const std::array<RedLines, 2> red =
            FindRedLinesUnderRules(firstIndex, otherIndex, rules, room);
        return AnyEntry(LinesWithLookalikes(red[0], firstText, otherIndex, rules, false)) ||
               AnyEntry(LinesWithLookalikes(red[1], otherText, firstIndex, rules, false));
    }
    const auto anyMissing = [](const compare::LineIndex& own, const compare::LineIndex& other) {
        try {
            own.ForEachMissingIn(other, 0, own.PieceCount(),
                                 [](compare::Piece) { throw Answered(); });
        } catch (const Answered&) {
            return true;
        }
        return false;
    };
    if (anyMissing(firstIndex, otherIndex) || anyMissing(otherIndex, firstIndex))
        return true;
    if (!options.counts)
        return false;
    const auto counted = CountLines(firstIndex, otherIndex, !options.exact);
    return !counted[0].empty() || !counted[1].empty();
}
