#include "cli/LookalikePasses.h"

#include "cli/LookalikeSinks.h"

#include "compare/WordLookalikeWalk.h"
#include "compare/WordPass.h"

#include <future>

namespace {

std::vector<compare::Piece> MissingPieces(const compare::LineIndex& own,
                                          const compare::LineIndex& other) {
    std::vector<compare::Piece> red;
    own.ForEachMissingIn(other, 0, own.PieceCount(),
                         [&](compare::Piece piece) { red.push_back(piece); });
    return red;
}

} // namespace

Pass WordsWithLookalikes(std::u16string_view own, std::u16string_view other) {
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

std::array<RedLines, 2> FindRedLines(const compare::LineIndex& first,
                                     const compare::LineIndex& second) {
    std::array<RedLines, 2> sides;
    auto secondRed = std::async(std::launch::async, [&] { return MissingPieces(second, first); });
    sides[0].red = MissingPieces(first, second);
    sides[1].red = secondRed.get();
    compare::LookalikeLinesOfBoth found =
        compare::FindLookalikeLinesOfBoth(first, sides[0].red, second, sides[1].red);
    sides[0].lookalikes = std::move(found.ofFirst);
    sides[1].lookalikes = std::move(found.ofSecond);
    return sides;
}

Pass LinesWithLookalikes(const RedLines& side, std::u16string_view own, std::u16string_view other) {
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
