#pragma once

#include "platform/Colour.h"

#include <QColor>

// How a text colour is drawn, in the pane and on its overview strip. The marks of a comparison
// made before one of the texts changed (a stale pane) are still there but drawn faded, plainly
// not the last word: red and the rules' quiet colour alike.
inline QColor DrawnColour(Colour colour, bool stale) {
    if (stale && colour == kRed)
        return QColor(232, 150, 150);
    if (stale && colour == kRuleMatched)
        return QColor(180, 192, 198);
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}
