#include "cli/LookalikePasses.h"

#include "cli/LookalikeSinks.h"

#include "compare/FirstLookalikes.h"
#include "compare/WordLookalikeWalk.h"
#include "compare/WordPass.h"

#include <algorithm>
#include <future>

Pass WordsWithLookalikes(std::u16string_view own, std::u16string_view other) {
    return [own, other](EntrySink& sink) {
        compare::WordLookalikeWalk lookalikes(own, other);
        compare::ForEachUnmatchedWord(
            own, other,
            [&](std::size_t start, std::size_t length) {
                sink.Entry(u"\r\n", own.substr(start, length), start, length, {});
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
    auto secondRed = std::async(std::launch::async, [&] { return second.MissingIn(first); });
    sides[0].red = first.MissingIn(second);
    sides[1].red = secondRed.get();
    return sides;
}

qint64 LookalikeSearchBytes(const std::array<RedLines, 2>& red) {
    // A red line's place in the tables, its group, its candidates and its look-alike take about
    // 160 bytes, as measured on files of numbered lines that all look like the other file's. Each
    // direction's thread also keys one line at a time, in four bytes a unit of the longest, and
    // matches the lines of a crowded key through a table of their forms.
    constexpr qint64 kBytesPerLine = 160;
    constexpr qint64 kBytesPerUnit = 4;
    qint64 bytes = 0;
    for (const RedLines& side : red) {
        std::size_t longest = 0;
        for (const compare::Piece& piece : side.red) {
            bytes += kBytesPerLine;
            longest = std::max(longest, piece.length);
        }
        bytes += kBytesPerUnit * qint64(std::min(longest, compare::kLongestLookalikeLine)) +
                 qint64{compare::kFirstLookalikesBytes};
    }
    return bytes;
}

void FindLookalikeLines(std::array<RedLines, 2>& red, const compare::LineIndex& first,
                        const compare::LineIndex& second) {
    compare::LookalikeLinesOfBoth found =
        compare::FindLookalikeLinesOfBoth(first, red[0].red, second, red[1].red);
    red[0].lookalikes = std::move(found.ofFirst);
    red[1].lookalikes = std::move(found.ofSecond);
}

Pass LinesWithLookalikes(const RedLines& side, std::u16string_view own, std::u16string_view other) {
    return [&side, own, other](EntrySink& sink) {
        for (std::size_t i = 0; i < side.red.size(); ++i) {
            const compare::Piece piece = side.red[i];
            const compare::Piece marked = compare::MarkedSpan(own, piece);
            sink.Entry(own.substr(piece.start, piece.length), u"\r", marked.start, marked.length,
                       {});
            if (i >= side.lookalikes.size())
                continue;
            if (const auto& lookalike = side.lookalikes[i]) {
                const compare::Piece look = compare::MarkedSpan(other, lookalike->piece);
                sink.Lookalike(EntryLookalike{marked.start, marked.length, look.start, look.length,
                                              lookalike->line, lookalike->kinds});
            }
        }
    };
}
