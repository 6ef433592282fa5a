#include "platform/OverviewStrip.h"

#include "platform/MarkColours.h"
#include "platform/Pane.h"
#include "platform/PaneWidget.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

OverviewStrip::OverviewStrip(PaneWidget& pane) : QWidget(&pane), pane_(pane) {
    setCursor(Qt::PointingHandCursor);
}

void OverviewStrip::Stale() {
    stale_ = true;
    update();
}

const std::vector<bool>& OverviewStrip::Marks() {
    if (stale_ || static_cast<int>(marks_.size()) != height())
        WorkOut();
    return marks_;
}

const std::vector<bool>& OverviewStrip::RuleMarks() {
    Marks();
    return ruleMarks_;
}

// Row y stands for the pieces of text the scroll bar puts at y: whether any of them is red is
// one look at the pane's colours where they begin and one for the next red stretch.
void OverviewStrip::WorkOut() {
    stale_ = false;
    const Pane& pane = pane_.Model();
    const qsizetype rows = std::max(height(), 1);
    marks_.assign(static_cast<std::size_t>(rows), false);
    ruleMarks_.assign(static_cast<std::size_t>(rows), false);
    const qsizetype pieces = pane_.PieceCount();
    for (qsizetype y = 0; y < rows; ++y) {
        const qsizetype first = y * pieces / rows;
        const qsizetype last = std::max(first + 1, (y + 1) * pieces / rows);
        const qsizetype from = pane_.PieceStart(first);
        const qsizetype to = last < pieces ? pane_.PieceStart(last) : pane.Length();
        const TextRange next = pane.RedNear(from - 1, true);
        marks_[static_cast<std::size_t>(y)] =
            pane.ColourAt(from) == kRed || (next.length > 0 && next.start < to);
        const TextRange matched = pane.ColourRunFrom(kRuleMatched, from - 1);
        ruleMarks_[static_cast<std::size_t>(y)] =
            !marks_[static_cast<std::size_t>(y)] &&
            (pane.ColourAt(from) == kRuleMatched || (matched.length > 0 && matched.start < to));
    }
}

void OverviewStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const std::vector<bool>& marks = Marks();
    // Marks from before a change of the texts compared fade, as they do in the pane.
    const bool stale = pane_.Model().Stale();
    const QColor red = DrawnColour(kRed, stale);
    const QColor quiet = DrawnColour(kRuleMatched, stale);
    for (std::size_t y = 0; y < marks.size(); ++y) {
        // A rule's mark is half as wide, so that it tells itself from red by its shape too.
        if (marks[y])
            painter.fillRect(QRect(1, static_cast<int>(y), width() - 2, 1), red);
        else if (ruleMarks_[y])
            painter.fillRect(QRect(width() / 2, static_cast<int>(y), width() / 2 - 1, 1), quiet);
    }
}

void OverviewStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || height() <= 0)
        return;
    const qsizetype piece =
        static_cast<qsizetype>(event->position().y()) * pane_.PieceCount() / std::max(height(), 1);
    pane_.ScrollToPiece(piece);
}

void OverviewStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    stale_ = true;
}

bool OverviewStrip::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const Pane& pane = pane_.Model();
        const QString note =
            pane.Stale() ? pane.StaleNote() + u'\n' + pane.Summary() : pane.Summary();
        if (note.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), note, this);
        return true;
    }
    return QWidget::event(event);
}
