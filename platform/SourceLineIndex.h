#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// Which line a position of a text held whole is on, as a pane counts lines (every CR LF, lone CR
// and lone LF ends one), without an index of every line: the number of breaks before each block
// of units is noted, and only as far into the text as has been asked about. A list of differences
// numbers its entries by the text it was found in, which no pane may hold any longer.
class SourceLineIndex {
public:
    explicit SourceLineIndex(QString text) : text_(std::move(text)) {}

    // The line `position` is on, from 0; a position inside a CR LF is on the line it ends.
    qsizetype LineAt(qsizetype position);

private:
    static constexpr qsizetype kBlock = 8192;

    // The breaks that end in [from, to), to - from at most kBlock.
    qsizetype BreaksIn(qsizetype from, qsizetype to) const;

    QString text_;
    std::vector<std::uint32_t> before_{0}; // breaks that end before each block noted so far
};
