#pragma once

#include "platform/PaneLayouts.h"
#include "platform/PaneSegments.h"

// A place in a pane's laid-out text: a piece (see PaneSegments) and a distance in pixels below
// its top. What the view shows at its top edge is one.
struct ViewPlace {
    qsizetype segment = 0;
    qreal y = 0;

    friend auto operator<=>(const ViewPlace&, const ViewPlace&) = default;
};

// Moving about a pane's laid-out text by pixels: only the pieces passed over are laid out, so a
// page down costs a page whatever the text's size.
class PaneScroll {
public:
    PaneScroll(const PaneSegments& segments, PaneLayouts& layouts)
        : segments_(segments), layouts_(layouts) {}

    // `from` moved down by `pixels` (up when negative), stopping at the text's ends.
    ViewPlace Advance(ViewPlace from, qreal pixels) const;
    // The highest place that still fills a view `height` high: the text's end at its bottom.
    ViewPlace Last(qreal height) const;
    // The top of the row `rows` rows below the one at `place` (above when negative), stopping at
    // the text's ends.
    ViewPlace ByRows(ViewPlace place, int rows) const;
    // How far `to` is below `from`, in pixels, looking no further than `most` below it.
    qreal Between(ViewPlace from, ViewPlace to, qreal most) const;
    qreal Height(qsizetype segment) const { return layouts_.At(segment).height; }

private:
    const PaneSegments& segments_;
    PaneLayouts& layouts_;
};
