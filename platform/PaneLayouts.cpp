#include "platform/PaneLayouts.h"

#include "platform/PaneText.h"

#include <QTextOption>

#include <algorithm>

namespace {

constexpr qreal kTabStop = 80; // pixels, as Qt's plain text editor has it
constexpr qreal kEdge = 4;     // above the first row and below the last

// A layout would start a new line at these; in a pane they are ordinary characters, shown as the
// replacement character so that every unit keeps its place.
QString ForLayout(QStringView units) {
    QString text = units.toString();
    for (QChar& c : text)
        if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QChar::ReplacementCharacter;
    return text;
}

} // namespace

void PaneLayouts::SetText(const PaneText& text) {
    text_ = &text;
    Clear();
}

void PaneLayouts::SetFont(const QFont& font) {
    font_ = font;
    Clear();
}

void PaneLayouts::SetWidth(qreal width) {
    if (width == width_)
        return;
    width_ = width;
    Clear();
}

void PaneLayouts::SetPreedit(qsizetype position, const QString& text,
                             const QList<QTextLayout::FormatRange>& formats) {
    preeditAt_ = text.isEmpty() ? -1 : position;
    preedit_ = text;
    preeditFormats_ = formats;
    Clear();
}

void PaneLayouts::Clear() {
    laid_.clear();
}

void PaneLayouts::KeepOnly(qsizetype first, qsizetype last) {
    std::erase_if(laid_,
                  [&](const auto& entry) { return entry.first < first || entry.first > last; });
}

const PaneLayouts::Laid& PaneLayouts::At(qsizetype segment) {
    auto& laid = laid_[segment];
    if (!laid)
        laid = Lay(segment);
    return *laid;
}

std::unique_ptr<PaneLayouts::Laid> PaneLayouts::Lay(qsizetype segment) const {
    auto laid = std::make_unique<Laid>();
    const PaneSegments::Place place = segments_.At(segment);
    laid->bounds = segments_.Bounds(*text_, place);
    const QStringView line = text_->LineView(place.line);
    const qsizetype offset = laid->bounds.start - text_->LineStart(place.line);
    QTextLayout& layout = laid->layout;
    layout.setText(ForLayout(line.sliced(offset, laid->bounds.length)));
    layout.setFont(font_);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(kTabStop);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    QList<QTextLayout::FormatRange> formats = colouring_(laid->bounds);
    if (preeditAt_ >= 0 && segments_.PlaceOf(*text_, preeditAt_) == place) {
        const qsizetype preedit =
            std::clamp<qsizetype>(preeditAt_ - laid->bounds.start, 0, laid->bounds.length);
        layout.setPreeditArea(static_cast<int>(preedit), preedit_);
        formats += preeditFormats_;
    }
    layout.setFormats(formats);
    layout.beginLayout();
    qreal y = segment == 0 ? kEdge : 0;
    for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
        row.setLineWidth(width_);
        row.setPosition(QPointF(0, y));
        y += row.height();
    }
    layout.endLayout();
    laid->height = y + (segment + 1 == segments_.Count() ? kEdge : 0);
    return laid;
}
