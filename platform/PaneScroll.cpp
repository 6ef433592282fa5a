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

ViewPlace PaneScroll::ByRows(ViewPlace place, int rows) const {
    const auto layout = [&](qsizetype segment) -> const QTextLayout& {
        return layouts_.At(segment).layout;
    };
    qsizetype segment = place.segment;
    int row = layout(segment).lineCount() - 1;
    while (row > 0 && layout(segment).lineAt(row).y() > place.y)
        --row;
    for (; rows > 0; --rows) {
        if (row + 1 < layout(segment).lineCount())
            ++row;
        else if (segment + 1 < segments_.Count())
            row = 0, ++segment;
    }
    for (; rows < 0; ++rows) {
        if (row > 0)
            --row;
        else if (segment > 0)
            row = layout(--segment).lineCount() - 1;
    }
    // The first row of the text begins at the top edge, above its margin.
    if (row == 0)
        return {segment, 0};
    return {segment, layout(segment).lineAt(row).y()};
}

qreal PaneScroll::Between(ViewPlace from, ViewPlace to, qreal most) const {
    qreal pixels = -from.y;
    for (qsizetype segment = from.segment; segment < to.segment && pixels < most; ++segment)
        pixels += Height(segment);
    return std::min(pixels + to.y, most);
}
