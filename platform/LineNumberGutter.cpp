#include "platform/LineNumberGutter.h"

#include "platform/PaneWidget.h"

#include <QPainter>

namespace {

constexpr int kPadding = 4; // on either side of the numbers

} // namespace

LineNumberGutter::LineNumberGutter(PaneWidget& pane) : QWidget(&pane), pane_(pane) {
    setAutoFillBackground(false);
    setCursor(Qt::ArrowCursor);
}

bool LineNumberGutter::Follow(bool newText) {
    const qsizetype largest = pane_.LargestLineNumber();
    return newText ? digits_.Reset(largest) : digits_.Follow(largest);
}

// The pane's font, which the numbers share with the text beside them.
int LineNumberGutter::WidthNeeded() const {
    return digits_.Digits() * pane_.fontMetrics().horizontalAdvance(u'0') + 2 * kPadding;
}

std::vector<LineNumberGutter::Label> LineNumberGutter::Labels() const {
    std::vector<Label> labels;
    for (const PaneWidget::LineStart& start : pane_.VisibleLineStarts())
        if (const std::optional<qsizetype> number = pane_.LineNumberOf(start.line))
            labels.push_back({*number, start.baseline});
    return labels;
}

void LineNumberGutter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().brush(QPalette::AlternateBase));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(width() - 1, 0, width() - 1, height());
    painter.setFont(pane_.font());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const QFontMetricsF metrics(pane_.font());
    for (const Label& label : Labels()) {
        const QString number = QString::number(label.number);
        const qreal x = width() - kPadding - metrics.horizontalAdvance(number);
        painter.drawText(QPointF(x, label.baseline), number);
    }
}
