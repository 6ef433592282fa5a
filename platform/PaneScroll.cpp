#include "platform/PaneScroll.h"

#include <QTextLine>

ViewPlace PaneScroll::Advance(ViewPlace from, qreal pixels) const {
    ViewPlace place = from;
    if (pixels >= 0) {
        for (qreal left = pixels;;) {
            const qreal height = Height(place.segment);
            if (place.y + left < height || place.segment + 1 >= segments_.Count()) {
                place.y = std::min(place.y + left, height);
                return place;
            }
            left -= height - place.y;
            place = {place.segment + 1, 0};
        }
    }
    for (qreal left = -pixels;;) {
        if (place.y >= left || place.segment == 0) {
            place.y = std::max<qreal>(place.y - left, 0);
            return place;
        }
        left -= place.y;
        place = {place.segment - 1, Height(place.segment - 1)};
    }
}

ViewPlace PaneScroll::Last(qreal height) const {
    const qsizetype last = segments_.Count() - 1;
    return Advance({last, Height(last)}, -height);
}

ViewPlace PaneScroll::RowTop(ViewPlace place) const {
    const QTextLayout& layout = layouts_.At(place.segment).layout;
    for (int i = layout.lineCount() - 1; i >= 0; --i) {
        const QTextLine row = layout.lineAt(i);
        if (row.y() <= place.y)
            return {place.segment, row.y()};
    }
    return {place.segment, 0};
}
