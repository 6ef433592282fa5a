#include "platform/PaneWidget.h"

#include "platform/EntryPlaces.h"
#include "platform/LineNumberGutter.h"
#include "platform/MarkColours.h"
#include "platform/OverviewStrip.h"
#include "platform/Pane.h"
#include "platform/PaneAccessible.h"

#include <QAccessible>
#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionSlider>
#include <QTextLine>
#include <QToolTip>

namespace {

constexpr qreal kMargin = 4;       // between the text and the pane's edges, left and right
constexpr int kProgressHeight = 3; // the bar along the bottom edge while the pane is filled

} // namespace

PaneWidget::PaneWidget(Pane& pane, QWidget* parent)
    : QAbstractScrollArea(parent), pane_(pane),
      layouts_(segments_, [this](TextRange bounds) { return ColourFormats(bounds); }),
      scroll_(segments_, layouts_) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAcceptDrops(true);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(1);
    layouts_.SetFont(font());
    layouts_.SetWidth(std::max<qreal>(viewport()->width() - 2 * kMargin, 1));
    static const bool accessible = (QAccessible::installFactory(&PaneAccessible::Factory), true);
    Q_UNUSED(accessible);
    pane_.SetObserver(this);
    TextReplaced();
    VisibilityChanged();
}

PaneWidget::~PaneWidget() {
    pane_.SetObserver(nullptr);
}

// --- What the pane tells ----------------------------------------------------------------------

void PaneWidget::TextReplaced() {
    top_ = {};
    wantedX_ = -1;
    TextLaidOutAgain();
    if (gutter_ && gutter_->Follow(true))
        UpdateMargins();
    AnnounceText(0, {}, pane_.Length());
}

void PaneWidget::TextEdited(qsizetype position, QStringView removed, qsizetype inserted) {
    TextLaidOutAgain();
    if (gutter_ && gutter_->Follow(false))
        UpdateMargins();
    AnnounceText(position, removed, inserted);
}

// The pane's content object may be new (a list shown by place, or text again): the layouts read
// whatever the pane holds now.
void PaneWidget::TextLaidOutAgain() {
    if (entries_)
        entries_->ListChanged();
    segments_.Rebuild(pane_.Content());
    layouts_.SetText(pane_.Content());
    lastTop_.reset();
    SetTop(top_);
    if (overview_)
        overview_->Stale();
}

void PaneWidget::ColoursChanged() {
    layouts_.Clear(); // the colours are part of the layouts; those on screen are laid out again
    viewport()->update();
    if (overview_)
        overview_->Stale();
}

void PaneWidget::SelectionChanged() {
    caretOn_ = true;
    viewport()->update();
    AnnounceSelection();
}

// --- Telling a screen reader --------------------------------------------------------------------

void PaneWidget::AnnounceText(qsizetype position, QStringView removed, qsizetype inserted) {
    if (!QAccessible::isActive())
        return;
    const int at = static_cast<int>(std::min<qsizetype>(position, INT_MAX));
    // A reader is told what changed, but never handed a whole large text at once.
    constexpr qsizetype kMost = 1 << 16;
    if (!removed.isEmpty()) {
        QAccessibleTextRemoveEvent event(this, at, removed.left(kMost).toString());
        QAccessible::updateAccessibility(&event);
    }
    if (inserted > 0) {
        const qsizetype shown = std::min(inserted, kMost);
        QAccessibleTextInsertEvent event(this, at, pane_.Content().Mid(position, position + shown));
        QAccessible::updateAccessibility(&event);
    }
}

void PaneWidget::AnnounceSelection() {
    if (!QAccessible::isActive())
        return;
    const auto toInt = [](qsizetype p) {
        return static_cast<int>(std::min<qsizetype>(p, INT_MAX));
    };
    QAccessibleTextSelectionEvent selection(this, toInt(pane_.SelStart()),
                                            toInt(pane_.SelStart() + pane_.SelLength()));
    selection.setCursorPosition(toInt(pane_.Caret()));
    QAccessible::updateAccessibility(&selection);
    QAccessibleTextCursorEvent cursor(this, toInt(pane_.Caret()));
    QAccessible::updateAccessibility(&cursor);
}

void PaneWidget::VisibilityChanged() {
    setVisible(pane_.Visible());
}

void PaneWidget::ProgressChanged() {
    viewport()->update(0, viewport()->height() - kProgressHeight, viewport()->width(),
                       kProgressHeight);
}

// --- Scrolling --------------------------------------------------------------------------------

qreal PaneWidget::ViewHeight() const {
    return viewport()->height();
}

// The highest top that still fills the view, worked out once for each text, width and height.
ViewPlace PaneWidget::LastTop() {
    if (!lastTop_)
        lastTop_ = scroll_.Last(ViewHeight());
    return *lastTop_;
}

// Puts `top` at the view's top edge, no further down than the place that shows the end.
void PaneWidget::SetTop(ViewPlace top) {
    top.segment = std::clamp<qsizetype>(top.segment, 0, segments_.Count() - 1);
    top_ = std::min(top, LastTop());
    UpdateScrollBar();
    viewport()->update();
    if (gutter_)
        gutter_->update();
}

void PaneWidget::ScrollByPixels(qreal pixels) {
    SetTop(scroll_.Advance(top_, pixels));
}

// The scroll bar counts pieces of the text: its value is the piece at the top.
void PaneWidget::UpdateScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    settingScrollBar_ = true;
    const qsizetype last = LastTop().segment;
    bar->setRange(0, static_cast<int>(std::min<qsizetype>(last, INT_MAX)));
    bar->setPageStep(std::max(1, static_cast<int>(ViewHeight() / fontMetrics().height())));
    bar->setValue(static_cast<int>(std::min<qsizetype>(top_.segment, INT_MAX)));
    settingScrollBar_ = false;
}

void PaneWidget::scrollContentsBy(int, int) {
    if (settingScrollBar_)
        return;
    const QScrollBar* bar = verticalScrollBar();
    // At its end the bar shows the text's end at the bottom, whatever the last pieces' heights.
    if (bar->value() >= bar->maximum())
        SetTop(LastTop());
    else
        SetTop({bar->value(), 0});
}

qreal PaneWidget::RowHeight() {
    const QTextLayout& layout = layouts_.At(top_.segment).layout;
    return layout.lineCount() > 0 ? layout.lineAt(0).height() : fontMetrics().height();
}

// A notch of the wheel moves whole rows; a touchpad's pixels move pixels.
void PaneWidget::wheelEvent(QWheelEvent* event) {
    const QPoint pixels = event->pixelDelta();
    wheelNotches_ += event->angleDelta().y() / 120.0 * QApplication::wheelScrollLines();
    const int rows = static_cast<int>(wheelNotches_);
    wheelNotches_ -= rows;
    if (!pixels.isNull())
        ScrollByPixels(-pixels.y());
    else if (rows != 0)
        SetTop(scroll_.ByRows(top_, -rows));
    event->accept();
}

void PaneWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    ViewportResized();
}

void PaneWidget::ViewportResized() {
    layouts_.SetWidth(std::max<qreal>(viewport()->width() - 2 * kMargin, 1));
    lastTop_.reset();
    SetTop(top_);
    PlaceOverview();
    PlaceGutter();
}

qsizetype PaneWidget::PieceStart(qsizetype piece) const {
    return segments_.Bounds(pane_.Content(), segments_.At(piece)).start;
}

void PaneWidget::ScrollToPiece(qsizetype piece) {
    SetTop({piece, 0});
}

void PaneWidget::ShowOverview(bool show) {
    if (show == (overview_ != nullptr))
        return;
    if (show) {
        overview_ = new OverviewStrip(*this);
        verticalScrollBar()->installEventFilter(this);
        // The bar stays, so that the strip has a groove to stand beside at any length of text.
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        UpdateMargins();
        PlaceOverview();
        overview_->show();
    } else {
        delete overview_;
        overview_ = nullptr;
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        UpdateMargins();
    }
}

// The strip stands between the text and the scroll bar, as high as the bar's groove, so that a
// mark sits where the bar's handle would be for that part of the text.
void PaneWidget::PlaceOverview() {
    if (!overview_)
        return;
    QStyleOptionSlider option;
    option.initFrom(verticalScrollBar());
    option.rect = verticalScrollBar()->rect();
    option.orientation = Qt::Vertical;
    option.minimum = verticalScrollBar()->minimum();
    option.maximum = verticalScrollBar()->maximum();
    const QRect groove = style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                 QStyle::SC_ScrollBarGroove, verticalScrollBar());
    const QRect view = viewport()->geometry();
    const bool hasGroove = groove.height() > view.height() / 2;
    const int top = view.top() + (hasGroove ? groove.top() : 0);
    const int height = hasGroove ? groove.height() : view.height();
    overview_->setGeometry(view.right() + 1, top, OverviewStrip::kWidth,
                           std::min(height, view.height()));
}

// A red line begins with the break before it; its selection starts at its first character.
qsizetype PaneWidget::FirstCharacter(TextRange red) const {
    const QString start = pane_.Content().Mid(red.start, std::min(red.End(), red.start + 2));
    qsizetype skip = 0;
    while (skip < start.size() && skip + 1 < red.length &&
           (start[skip] == u'\r' || start[skip] == u'\n'))
        ++skip;
    return red.start + skip;
}

void PaneWidget::GoToDifference(bool forward) {
    const qsizetype from = pane_.Caret();
    TextRange red = pane_.RedNear(from, forward);
    if (!forward && red.length > 0 && FirstCharacter(red) >= from) // the one the caret is on
        red = pane_.RedNear(red.start, false);
    if (red.length == 0) // past the last one, round to the first (or the other way)
        red = pane_.RedNear(forward ? -1 : pane_.Length() + 1, forward);
    if (red.length == 0)
        return;
    pane_.Select(red.End(), FirstCharacter(red));
    ShowStretch({pane_.Caret(), red.End() - pane_.Caret()}, Placing::Whole);
    ShowCaret();
}

void PaneWidget::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        if (gutter_)
            UpdateMargins();
        layouts_.SetFont(font());
        lastTop_.reset();
        SetTop(top_);
    }
}

// The strip follows the scroll bar wherever the frame puts it.
bool PaneWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == verticalScrollBar() &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move ||
         event->type() == QEvent::Show))
        PlaceOverview();
    return QAbstractScrollArea::eventFilter(watched, event);
}

// What the pane says of itself when the pointer rests on it: what the last comparison found.
bool PaneWidget::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = TipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

// A red stretch's own tip, or else where the text came from and what the last comparison found;
// marks from before a change say so first.
QString PaneWidget::TipAt(QPoint point) {
    QStringList lines;
    const QString tip = pane_.TipAt(PositionAt(point));
    if (tip.isEmpty() && !pane_.Origin().isEmpty())
        lines.append(pane_.Origin());
    if (pane_.Stale())
        lines.append(pane_.StaleNote());
    const QString said = tip.isEmpty() ? pane_.Summary() : tip;
    if (!said.isEmpty())
        lines.append(said);
    return lines.join(u'\n');
}

// --- Geometry ---------------------------------------------------------------------------------

PaneWidget::Located PaneWidget::Locate(qsizetype position) {
    const PaneSegments::Place place = segments_.PlaceOf(pane_.Content(), position);
    const qsizetype segment = segments_.IndexOf(place);
    const PaneLayouts::Laid& laid = layouts_.At(segment);
    const qsizetype offset =
        std::clamp<qsizetype>(position - laid.bounds.start, 0, laid.bounds.length);
    const int row = laid.layout.lineForTextPosition(static_cast<int>(offset)).lineNumber();
    return {segment, offset, std::max(row, 0)};
}

QRectF PaneWidget::CaretBox(qsizetype position) {
    const Located at = Locate(position);
    // How far below the view's top the piece begins, looking no further than the view.
    qreal y = -top_.y;
    for (qsizetype s = top_.segment; s < at.segment; ++s) {
        y += scroll_.Height(s);
        if (y > ViewHeight())
            return {};
    }
    if (at.segment < top_.segment)
        return {};
    const PaneLayouts::Laid& laid = layouts_.At(at.segment);
    const QTextLine row = laid.layout.lineAt(at.row);
    const qreal x = row.cursorToX(static_cast<int>(at.offset));
    const QRectF box(kMargin + x, y + row.y(), 1, row.height());
    return box.bottom() < 0 || box.top() > ViewHeight() ? QRectF() : box;
}

qsizetype PaneWidget::PositionAt(QPointF point) {
    qreal y = -top_.y;
    qsizetype segment = top_.segment;
    if (point.y() < 0)
        point.setY(0);
    for (;;) {
        const qreal height = scroll_.Height(segment);
        if (point.y() < y + height || segment + 1 >= segments_.Count())
            break;
        y += height;
        ++segment;
    }
    const PaneLayouts::Laid& laid = layouts_.At(segment);
    const QTextLayout& layout = laid.layout;
    const qreal inPiece = point.y() - y;
    int row = 0;
    while (row + 1 < layout.lineCount() && layout.lineAt(row + 1).y() <= inPiece)
        ++row;
    if (inPiece >= laid.height)
        row = layout.lineCount() - 1;
    const int offset = layout.lineAt(row).xToCursor(point.x() - kMargin);
    return laid.bounds.start + offset;
}

void PaneWidget::EnsureVisible(qsizetype position) {
    const Located at = Locate(position);
    const QTextLine row = layouts_.At(at.segment).layout.lineAt(at.row);
    const ViewPlace rowTop{at.segment, row.y()};
    const ViewPlace rowBottom{at.segment, row.y() + row.height()};
    if (rowTop < top_) {
        SetTop(rowTop);
        return;
    }
    const ViewPlace bottom = scroll_.Advance(top_, ViewHeight());
    if (bottom < rowBottom)
        SetTop(scroll_.Advance(rowBottom, -ViewHeight()));
}

// --- Drawing ----------------------------------------------------------------------------------

QList<QTextLayout::FormatRange> PaneWidget::ColourFormats(TextRange bounds) const {
    QList<QTextLayout::FormatRange> formats;
    pane_.ForEachColourRun(bounds.start, bounds.End(), [&](TextRange run, Colour colour) {
        if (colour == kBlack)
            return;
        QTextLayout::FormatRange format;
        format.start = static_cast<int>(run.start - bounds.start);
        format.length = static_cast<int>(run.length);
        format.format.setForeground(DrawnColour(colour, pane_.Stale()));
        formats.append(format);
    });
    return formats;
}

QList<QTextLayout::FormatRange> PaneWidget::SelectionFormats(TextRange bounds) const {
    const qsizetype start = std::max(pane_.SelStart(), bounds.start);
    const qsizetype end = std::min(pane_.SelStart() + pane_.SelLength(), bounds.End());
    if (!hasFocus() || start >= end)
        return {};
    QTextLayout::FormatRange selection;
    selection.start = static_cast<int>(start - bounds.start);
    selection.length = static_cast<int>(end - start);
    selection.format.setBackground(palette().brush(QPalette::Highlight));
    selection.format.setForeground(palette().brush(QPalette::HighlightedText));
    return {selection};
}

void PaneWidget::DrawPiece(QPainter& painter, qsizetype segment, QPointF at) {
    const PaneLayouts::Laid& laid = layouts_.At(segment);
    laid.layout.draw(&painter, at, SelectionFormats(laid.bounds));
    if (!hasFocus() || !caretOn_)
        return;
    const qsizetype caret = pane_.Caret();
    if (segments_.PlaceOf(pane_.Content(), caret) != segments_.At(segment))
        return;
    const qsizetype offset = caret - laid.bounds.start + preeditCursor_;
    laid.layout.drawCursor(
        &painter, at,
        static_cast<int>(std::clamp<qsizetype>(offset, 0, laid.layout.text().size())));
}

void PaneWidget::DrawProgress(QPainter& painter) {
    const std::optional<int> progress = pane_.Progress();
    if (!progress)
        return;
    const int width = viewport()->width() * std::clamp(*progress, 0, 1000) / 1000;
    painter.fillRect(0, viewport()->height() - kProgressHeight, width, kProgressHeight,
                     palette().brush(QPalette::Highlight));
}

void PaneWidget::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    qreal y = -top_.y;
    qsizetype segment = top_.segment;
    for (; segment < segments_.Count() && y < ViewHeight(); ++segment) {
        DrawPiece(painter, segment, QPointF(kMargin, y));
        y += scroll_.Height(segment);
    }
    layouts_.KeepOnly(top_.segment - 2, segment + 2);
    DrawProgress(painter);
}
