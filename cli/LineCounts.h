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
std::array<std::vector<CountedPiece>, 2> CountLines(const compare::LineIndex& first,
                                                    const compare::LineIndex& second);

// At most what counting the lines of a text of `crs` CRs holds, in bytes.
qint64 LineCountBytes(qsizetype crs);

// One side's counted lines as a pass. `side` and `own` must outlive it.
CountPass CountedLinesOf(const std::vector<CountedPiece>& side, const compare::LineIndex& own);
