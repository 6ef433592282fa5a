#include "platform/PaneSegments.h"

#include <algorithm>

namespace {

constexpr qsizetype kLookBack = 128; // how far back a cut may move to fall after a blank

} // namespace

void PaneSegments::Rebuild(const PaneText& text) {
    longLines_.clear();
    totalExtra_ = 0;
    lineCount_ = text.LineCount();
    for (const qsizetype line : text.LongLines(kUnits)) {
        const qsizetype length = text.LineEnd(line) - text.LineStart(line);
        const qsizetype extra = (length + kUnits - 1) / kUnits - 1;
        longLines_.push_back({line, extra, totalExtra_});
        totalExtra_ += extra;
    }
}

const PaneSegments::LongLine* PaneSegments::Find(qsizetype line) const {
    const auto found = std::lower_bound(longLines_.begin(), longLines_.end(), line,
                                        [](const LongLine& l, qsizetype n) { return l.line < n; });
    return found != longLines_.end() && found->line == line ? &*found : nullptr;
}

qsizetype PaneSegments::PiecesOf(qsizetype line) const {
    const LongLine* found = Find(line);
    return found ? found->extra + 1 : 1;
}

qsizetype PaneSegments::IndexOf(Place place) const {
    const auto next = std::lower_bound(longLines_.begin(), longLines_.end(), place.line,
                                       [](const LongLine& l, qsizetype n) { return l.line < n; });
    const qsizetype extraBefore = next == longLines_.end() ? totalExtra_ : next->extraBefore;
    return place.line + extraBefore + place.piece;
}

PaneSegments::Place PaneSegments::At(qsizetype segment) const {
    segment = std::clamp<qsizetype>(segment, 0, Count() - 1);
    // The last long line whose first piece is at or before the segment.
    const auto after =
        std::upper_bound(longLines_.begin(), longLines_.end(), segment,
                         [](qsizetype s, const LongLine& l) { return s < l.line + l.extraBefore; });
    if (after == longLines_.begin())
        return {segment, 0};
    const LongLine& l = *std::prev(after);
    const qsizetype first = l.line + l.extraBefore;
    if (segment <= first + l.extra)
        return {l.line, segment - first};
    return {l.line + (segment - first - l.extra), 0};
}

// Where piece `piece` of a long line begins, as an offset into the line.
qsizetype PaneSegments::Cut(QStringView line, qsizetype piece) {
    if (piece <= 0)
        return 0;
    const qsizetype nominal = std::min(piece * kUnits, line.size());
    if (nominal >= line.size())
        return line.size();
    for (qsizetype at = nominal; at > nominal - kLookBack; --at) {
        const QChar before = line[at - 1];
        if (before == u' ' || before == u'\t')
            return at;
    }
    return line[nominal - 1].isHighSurrogate() && line[nominal].isLowSurrogate() ? nominal - 1
                                                                                 : nominal;
}

TextRange PaneSegments::Bounds(const PaneText& text, Place place) const {
    const qsizetype start = text.LineStart(place.line);
    const qsizetype pieces = PiecesOf(place.line);
    if (pieces == 1)
        return {start, text.LineEnd(place.line) - start};
    const QStringView line = text.LineView(place.line);
    const qsizetype from = Cut(line, place.piece);
    const qsizetype to = place.piece + 1 < pieces ? Cut(line, place.piece + 1) : line.size();
    return {start + from, to - from};
}

PaneSegments::Place PaneSegments::PlaceOf(const PaneText& text, qsizetype position) const {
    const qsizetype line = text.LineAt(position);
    const qsizetype pieces = PiecesOf(line);
    if (pieces == 1)
        return {line, 0};
    const QStringView view = text.LineView(line);
    const qsizetype offset = std::clamp<qsizetype>(position - text.LineStart(line), 0, view.size());
    qsizetype piece = std::min(offset / kUnits, pieces - 1);
    if (piece + 1 < pieces && offset >= Cut(view, piece + 1))
        ++piece;
    return {line, piece};
}
