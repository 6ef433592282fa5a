#include "platform/CaretPlaces.h"

#include "platform/PaneText.h"

bool SplitsPair(const PaneText& text, qsizetype position) {
    if (position <= 0 || position >= text.Length())
        return false;
    const QString around = text.Mid(position - 1, position + 1);
    return (around[0] == QChar::CarriageReturn && around[1] == QChar::LineFeed) ||
           (around[0].isHighSurrogate() && around[1].isLowSurrogate());
}

qsizetype OutOfPair(const PaneText& text, qsizetype position, bool forward) {
    if (!SplitsPair(text, position))
        return position;
    return forward ? position + 1 : position - 1;
}
