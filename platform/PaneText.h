#pragma once

#include <QString>

#include <vector>

// A pane's text as lines, read without spelling the whole text out: what the pane's view draws,
// moves through and copies from. Positions index the text as it reads back in full; every CR LF,
// lone CR and lone LF ends a line, and the break belongs to neither line's own units.
class PaneText {
public:
    virtual ~PaneText() = default;

    virtual qsizetype Length() const = 0;
    // At least one line, perhaps empty.
    virtual qsizetype LineCount() const = 0;
    virtual qsizetype LineStart(qsizetype line) const = 0;
    // Where the line's break begins, or the text's end for the last line.
    virtual qsizetype LineEnd(qsizetype line) const = 0;
    // The units from LineStart to LineEnd.
    virtual QStringView LineView(qsizetype line) const = 0;
    // The line `position` belongs to; a position inside a break belongs to the line it ends.
    virtual qsizetype LineAt(qsizetype position) const = 0;
    // The lines longer than `units`, in order: few, usually, and the ones a view must cut up.
    virtual std::vector<qsizetype> LongLines(qsizetype units) const = 0;
    // Appends the units [from, to) to `out`.
    virtual void AppendUnits(qsizetype from, qsizetype to, QString& out) const = 0;

    QString Mid(qsizetype from, qsizetype to) const {
        QString out;
        out.reserve(to - from);
        AppendUnits(from, to, out);
        return out;
    }
};
