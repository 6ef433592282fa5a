#pragma once

#include "platform/GutterDigits.h"

#include <QWidget>

#include <vector>

class PaneWidget;

// The strip left of a pane's text that numbers its lines: a number beside the first row of each
// line on screen, none beside the rows a long line wraps onto or the pieces it is cut into. Only
// the lines on screen are numbered, so a text of millions of lines costs what a page costs. Its
// width follows the digits the largest number needs (see GutterDigits).
class LineNumberGutter final : public QWidget {
    Q_OBJECT

public:
    explicit LineNumberGutter(PaneWidget& pane);

    // The pane's text changed (`newText`: it was replaced): true when the width changed.
    bool Follow(bool newText);
    int WidthNeeded() const;
    int Digits() const { return digits_.Digits(); }

    // The numbers on screen, top to bottom, and the baseline each is drawn on.
    struct Label {
        qsizetype number;
        qreal baseline;
    };
    std::vector<Label> Labels() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PaneWidget& pane_;
    GutterDigits digits_;
};
