#pragma once

#include "platform/PaneText.h"
#include "platform/TextRange.h"

#include <vector>

// The pieces a pane lays its text out in: one a line, and a long line cut into pieces of about
// kUnits units, so that laying out or drawing any part of a line of a hundred megabytes costs
// what a page costs. A long line is cut just after a blank near each multiple of kUnits where
// there is one (where a wrap would fall anyway), else at the multiple itself, never inside a
// surrogate pair. Pieces are numbered through the whole text; that number is what the scroll bar
// counts.
class PaneSegments {
public:
    static constexpr qsizetype kUnits = 1024;

    struct Place {
        qsizetype line = 0;
        qsizetype piece = 0; // within the line
        friend bool operator==(const Place&, const Place&) = default;
    };

    // Finds the long lines of `text` again (after any change to it).
    void Rebuild(const PaneText& text);

    qsizetype Count() const { return lineCount_ + totalExtra_; }
    Place At(qsizetype segment) const;
    qsizetype IndexOf(Place place) const;
    qsizetype PiecesOf(qsizetype line) const;
    // The units of a piece in the text.
    TextRange Bounds(const PaneText& text, Place place) const;
    // The piece that holds `position` (a piece's first position belongs to it, not to the one
    // before).
    Place PlaceOf(const PaneText& text, qsizetype position) const;

private:
    struct LongLine {
        qsizetype line;
        qsizetype extra;       // pieces beyond the first
        qsizetype extraBefore; // extra pieces of the long lines before it
    };

    const LongLine* Find(qsizetype line) const;
    static qsizetype Cut(QStringView line, qsizetype piece);

    std::vector<LongLine> longLines_;
    qsizetype lineCount_ = 1;
    qsizetype totalExtra_ = 0;
};
