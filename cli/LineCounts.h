#pragma once

#include "cli/CountSinks.h"

#include "compare/LineIndex.h"

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <vector>

// A line that both held texts hold, a different number of times: its first piece in one text,
// and how often each text holds it.
struct CountedPiece {
    std::uint32_t piece;
    std::uint32_t here;
    std::uint32_t there;
};

// The counted lines of both texts, each side's in the order of their first pieces. A line that
// one text lacks is no counted line: it is a difference already. Only lines that one text holds
// more than once can be counted lines, so only those are looked up in the other text.
// `appendedCR`: the texts end with the CR a load appends.
std::array<std::vector<CountedPiece>, 2>
CountLines(const compare::LineIndex& first, const compare::LineIndex& second, bool appendedCR);

// Whether a piece is what follows a text's last line break when nothing does: empty, or the LF
// that cutting CR LF text at CR leaves.
inline bool NothingAfterABreak(std::u16string_view piece) {
    return piece.empty() || piece == u"\n";
}

// How many of a text's last pieces are no lines of its file, though the comparison cuts them:
// the piece after the CR a load appends, and then the piece after the file's last line break
// when nothing follows it. Both have an empty content. `last` and `beforeLast`: whether those
// pieces are NothingAfterABreak.
std::size_t PiecesAfterTheLastLine(std::size_t pieces, bool last, bool beforeLast, bool appendedCR);

// At most what counting the lines of a text of `crs` CRs holds, in bytes.
qint64 LineCountBytes(qsizetype crs);

// One side's counted lines as a pass. `side` and `own` must outlive it.
CountPass CountedLinesOf(const std::vector<CountedPiece>& side, const compare::LineIndex& own);
