#include "cli/ExplainedComparison.h"

#include "cli/LookalikeSinks.h"

#include "compare/LineIndex.h"
#include "compare/LookalikeLines.h"
#include "compare/WordLookalikeWalk.h"
#include "compare/WordPass.h"

#include <exception>
#include <future>
#include <optional>
#include <vector>

namespace {

// One side's red lines, in order, and the look-alike of each in the other text.
struct RedLines {
    std::vector<compare::Piece> red;
    std::vector<std::optional<compare::LineLookalike>> lookalikes;
};

std::vector<compare::Piece> MissingPieces(const compare::LineIndex& own,
                                          const compare::LineIndex& other) {
    std::vector<compare::Piece> red;
    own.ForEachMissingIn(other, 0, own.PieceCount(),
                         [&](compare::Piece piece) { red.push_back(piece); });
    return red;
}

Pass ExplainedLines(const RedLines& side, std::u16string_view own, std::u16string_view other) {
    return [&side, own, other](EntrySink& sink) {
        for (std::size_t i = 0; i < side.red.size(); ++i) {
            const compare::Piece piece = side.red[i];
            const compare::Piece marked = compare::MarkedSpan(own, piece);
            sink.Entry(own.substr(piece.start, piece.length), u"\r", marked.start, marked.length);
            if (const auto& lookalike = side.lookalikes[i]) {
                const compare::Piece look = compare::MarkedSpan(other, lookalike->piece);
                sink.Lookalike(EntryLookalike{marked.start, marked.length, look.start, look.length,
                                              lookalike->line, lookalike->kinds});
            }
        }
    };
}

Pass ExplainedWords(std::u16string_view own, std::u16string_view other) {
    return [own, other](EntrySink& sink) {
        compare::WordLookalikeWalk lookalikes(own, other);
        compare::ForEachUnmatchedWord(
            own, other,
            [&](std::size_t start, std::size_t length) {
                sink.Entry(u"\r\n", own.substr(start, length), start, length);
                if (const auto lookalike = lookalikes.Next(start))
                    sink.Lookalike(EntryLookalike{start, length, lookalike->otherStart,
                                                  lookalike->otherLength, lookalike->otherLine,
                                                  lookalike->kinds});
            },
            [](std::size_t) { return true; });
    };
}

// Side 2's report is made on another thread, as far as the room lasts, while side 1's is written.
void WriteBoth(const Pass& firstPass, const Pass& secondPass, SideReport& first, SideReport& second,
               ByteSink& out) {
    auto kept = std::async(std::launch::async, [&] { second.Keep(secondPass); });
    std::exception_ptr failure;
    try {
        first.Write(firstPass, out);
    } catch (...) {
        failure = std::current_exception();
    }
    kept.get(); // what it threw comes first
    if (failure)
        std::rethrow_exception(failure);
    second.Write(secondPass, out);
}

} // namespace

void CompareExplained(const CliOptions& options, InputText& one, InputText& two, SideReport& first,
                      SideReport& second, ByteSink& out) {
    auto secondText = std::async(std::launch::async, [&] { return two.ReadAll(); });
    const std::u16string firstText = one.ReadAll();
    const std::u16string otherText = secondText.get();
    if (options.mode == CliOptions::Mode::Words) {
        WriteBoth(ExplainedWords(firstText, otherText), ExplainedWords(otherText, firstText), first,
                  second, out);
        return;
    }
    auto secondIndex =
        std::async(std::launch::async, [&] { return compare::LineIndex(otherText); });
    const compare::LineIndex firstIndex(firstText);
    const compare::LineIndex otherIndex = secondIndex.get();
    RedLines sides[2];
    auto secondRed =
        std::async(std::launch::async, [&] { return MissingPieces(otherIndex, firstIndex); });
    sides[0].red = MissingPieces(firstIndex, otherIndex);
    sides[1].red = secondRed.get();
    compare::LookalikeLinesOfBoth found =
        compare::FindLookalikeLinesOfBoth(firstIndex, sides[0].red, otherIndex, sides[1].red);
    sides[0].lookalikes = std::move(found.ofFirst);
    sides[1].lookalikes = std::move(found.ofSecond);
    WriteBoth(ExplainedLines(sides[0], firstText, otherText),
              ExplainedLines(sides[1], otherText, firstText), first, second, out);
}
