#include "cli/HeldComparison.h"

#include "cli/EntryPlaces.h"
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
                       piece.length + (endsWithCR ? 1 : 0));
        });
    };
}

Pass UnmatchedWords(std::u16string_view own, std::u16string_view other) {
    return [own, other](EntrySink& sink) {
        compare::ForEachUnmatchedWord(
            own, other,
            [&](std::size_t start, std::size_t length) {
                sink.Entry(u"\r\n", own.substr(start, length), start, length);
            },
            [](std::size_t) { return true; });
    };
}

// Side 2 is worked out on another thread, and its report made there as far as the room lasts,
// while side 1 is worked out and written.
void WriteBoth(const CliOptions& options, std::u16string_view firstText,
               std::u16string_view secondText, const Pass& firstPass, const Pass& secondPass,
               SideReport& first, SideReport& second, ByteSink& out, KeptRoom& room) {
    EntryPlaces secondPlaces(room, options.mode);
    auto kept = std::async(std::launch::async, [&] {
        secondPass(secondPlaces);
        if (secondPlaces.Complete())
            second.Keep(secondPlaces.Replay(secondText));
    });
    std::exception_ptr failure;
    try {
        EntryPlaces firstPlaces(room, options.mode);
        firstPass(firstPlaces);
        first.Write(firstPlaces.Complete() ? firstPlaces.Replay(firstText) : firstPass, out);
    } catch (...) {
        failure = std::current_exception();
    }
    kept.get(); // what it threw comes first
    if (failure)
        std::rethrow_exception(failure);
    second.Write(secondPlaces.Complete() ? secondPlaces.Replay(secondText) : secondPass, out);
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
            indexes += (qint64{text->CRs()} + 2) * kIndexBytesPerPiece;
        // Counted as if every line were missing.
        if (options.mode == CliOptions::Mode::Lines && options.rules.Any())
            indexes += (qint64{text->CRs()} + 2) * kRuleBytesPerPiece;
    }
    return texts + std::max(kept, indexes);
}

bool CompareHeld(const CliOptions& options, InputText& one, InputText& two, SideReport& first,
                 SideReport& second, ByteSink& out, KeptRoom& room) {
    auto secondText = std::async(std::launch::async, [&] { return two.TakeAll(); });
    const std::u16string firstText = one.TakeAll();
    const std::u16string otherText = secondText.get();
    const compare::ComparisonRules& rules = options.rules;
    const bool nameRules = options.json || options.explain;
    if (options.mode == CliOptions::Mode::Words) {
        const auto pass = [&](std::u16string_view own, std::u16string_view other) {
            if (rules.Any())
                return WordsUnderRules(own, other, rules, nameRules, options.explain);
            return options.explain ? WordsWithLookalikes(own, other) : UnmatchedWords(own, other);
        };
        const Pass firstPass = pass(firstText, otherText);
        const Pass secondPass = pass(otherText, firstText);
        // A line of millions of words is searched through an index of its partner line; when the
        // two sides' indexes together would not fit, one side is worked out after the other.
        // The room is three quarters of the memory left (see Compare in CliComparison.cpp); an
        // index takes what it holds.
        // Under rules that make words equal a side also holds the forms of a line and of its
        // partner line.
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
            WriteBoth(options, firstText, otherText, firstPass, secondPass, first, second, out,
                      room);
            room.GiveBack(firstIndex + secondIndex);
        } else {
            // What is kept for the report's turn makes way for the one index.
            const qint64 taken = room.TakeUpTo(std::max(firstIndex, secondIndex));
            first.Write(firstPass, out);
            second.Write(secondPass, out);
            room.GiveBack(taken);
        }
        return true;
    }
    auto secondIndex =
        std::async(std::launch::async, [&] { return compare::LineIndex(otherText); });
    const compare::LineIndex firstIndex(firstText);
    const compare::LineIndex otherIndex = secondIndex.get();
    if (options.explain || rules.Any()) {
        std::array<RedLines, 2> red =
            rules.Any() ? FindRedLinesUnderRules(firstIndex, otherIndex, rules, room)
                        : FindRedLines(firstIndex, otherIndex);
        if (!options.explain) {
            WriteBoth(options, firstText, otherText,
                      LinesWithLookalikes(red[0], firstText, otherIndex, rules, nameRules),
                      LinesWithLookalikes(red[1], otherText, firstIndex, rules, nameRules), first,
                      second, out, room);
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
        WriteBoth(options, firstText, otherText,
                  LinesWithLookalikes(red[0], firstText, otherIndex, rules, nameRules),
                  LinesWithLookalikes(red[1], otherText, firstIndex, rules, nameRules), first,
                  second, out, room);
        if (searched)
            room.GiveBack(searchBytes);
        return searched;
    }
    WriteBoth(options, firstText, otherText, MissingLines(firstIndex, otherIndex),
              MissingLines(otherIndex, firstIndex), first, second, out, room);
    return true;
}
