#include "platform/PaneAccessible.h"

#include "platform/Pane.h"
#include "platform/PaneWidget.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <climits>

namespace {

constexpr qsizetype kWordWindow = 512;     // how much of a line a word is looked for in
constexpr qsizetype kValueLimit = 1 << 20; // the most of a text given as the pane's value

int ToInt(qsizetype value) {
    return static_cast<int>(std::min<qsizetype>(value, INT_MAX));
}

} // namespace

PaneAccessible::PaneAccessible(PaneWidget* widget)
    : QAccessibleWidget(widget, QAccessible::EditableText) {}

QAccessibleInterface* PaneAccessible::Factory(const QString&, QObject* object) {
    if (auto* widget = qobject_cast<PaneWidget*>(object))
        return new PaneAccessible(widget);
    return nullptr;
}

PaneWidget* PaneAccessible::Pane() const {
    return static_cast<PaneWidget*>(widget());
}

void* PaneAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State PaneAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString PaneAccessible::text(QAccessible::Text which) const {
    if (which != QAccessible::Value)
        return QAccessibleWidget::text(which);
    const PaneText& content = Pane()->Model().Content();
    return content.Mid(0, std::min(content.Length(), kValueLimit));
}

void PaneAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    const ::Pane& pane = Pane()->Model();
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || pane.SelLength() == 0)
        return;
    *startOffset = ToInt(pane.SelStart());
    *endOffset = ToInt(pane.SelStart() + pane.SelLength());
}

int PaneAccessible::selectionCount() const {
    return Pane()->Model().SelLength() > 0 ? 1 : 0;
}

void PaneAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void PaneAccessible::removeSelection(int) {
    const qsizetype caret = Pane()->Model().Caret();
    Pane()->Model().Select(caret, caret);
}

void PaneAccessible::setSelection(int, int startOffset, int endOffset) {
    Pane()->Model().Select(startOffset, endOffset);
}

int PaneAccessible::cursorPosition() const {
    return ToInt(Pane()->Model().Caret());
}

void PaneAccessible::setCursorPosition(int position) {
    Pane()->Model().Select(position, position);
}

QString PaneAccessible::text(int startOffset, int endOffset) const {
    const PaneText& content = Pane()->Model().Content();
    const qsizetype from = std::clamp<qsizetype>(startOffset, 0, content.Length());
    const qsizetype to = std::clamp<qsizetype>(endOffset, from, content.Length());
    return content.Mid(from, to);
}

int PaneAccessible::characterCount() const {
    return ToInt(Pane()->Model().Length());
}

// Characters, words and lines are found within the line that holds the offset (and for words,
// within a stretch of it), so that a question about a text of millions of units reads a line.
std::pair<int, int> PaneAccessible::Around(int offset,
                                           QAccessible::TextBoundaryType boundary) const {
    const PaneText& content = Pane()->Model().Content();
    const qsizetype length = content.Length();
    const qsizetype at = std::clamp<qsizetype>(offset, 0, length);
    const qsizetype line = content.LineAt(at);
    const qsizetype lineStart = content.LineStart(line);
    const qsizetype lineEnd = content.LineEnd(line);
    const qsizetype next = line + 1 < content.LineCount() ? content.LineStart(line + 1) : length;
    switch (boundary) {
    case QAccessible::NoBoundary:
        return {0, ToInt(length)};
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary:
    case QAccessible::SentenceBoundary:
        return {ToInt(lineStart), ToInt(next)};
    case QAccessible::CharBoundary: {
        if (at >= lineEnd)
            return {ToInt(at), ToInt(std::min(at >= next ? at : next, length))};
        const QStringView units = content.LineView(line);
        const qsizetype i = at - lineStart;
        const qsizetype size = units[i].isHighSurrogate() && i + 1 < units.size() ? 2 : 1;
        return {ToInt(at), ToInt(at + size)};
    }
    case QAccessible::WordBoundary: {
        const qsizetype from = std::max(lineStart, at - kWordWindow);
        const qsizetype to = std::min(lineEnd, at + kWordWindow);
        const QString window = content.Mid(from, to);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Word, window);
        const qsizetype i = std::min(at, to) - from;
        finder.setPosition(i);
        const qsizetype start = finder.isAtBoundary() ? i : finder.toPreviousBoundary();
        finder.setPosition(i);
        const qsizetype end = finder.toNextBoundary();
        return {ToInt(from + std::max<qsizetype>(start, 0)),
                ToInt(from + (end < 0 ? window.size() : end))};
    }
    }
    return {ToInt(at), ToInt(at)};
}

QString PaneAccessible::Stretch(std::pair<int, int> range, int* startOffset, int* endOffset) const {
    *startOffset = range.first;
    *endOffset = range.second;
    return text(range.first, range.second);
}

QString PaneAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundary,
                                     int* startOffset, int* endOffset) const {
    return Stretch(Around(offset, boundary), startOffset, endOffset);
}

QString PaneAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary,
                                         int* startOffset, int* endOffset) const {
    const auto at = Around(offset, boundary);
    if (at.first == 0)
        return Stretch({0, 0}, startOffset, endOffset);
    return Stretch(Around(at.first - 1, boundary), startOffset, endOffset);
}

QString PaneAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary,
                                        int* startOffset, int* endOffset) const {
    const auto at = Around(offset, boundary);
    if (at.second >= characterCount())
        return Stretch({at.second, at.second}, startOffset, endOffset);
    return Stretch(Around(at.second, boundary), startOffset, endOffset);
}

QRect PaneAccessible::characterRect(int offset) const {
    PaneWidget* pane = Pane();
    QRectF box = pane->CaretBox(offset);
    if (box.isEmpty())
        return {};
    const QRectF next = pane->CaretBox(offset + 1);
    if (!next.isEmpty() && next.top() == box.top() && next.left() > box.left())
        box.setRight(next.left());
    const QPoint topLeft = pane->viewport()->mapToGlobal(box.topLeft().toPoint());
    return QRect(topLeft, box.size().toSize());
}

int PaneAccessible::offsetAtPoint(const QPoint& point) const {
    PaneWidget* pane = Pane();
    const QPoint local = pane->viewport()->mapFromGlobal(point);
    if (!pane->viewport()->rect().contains(local))
        return -1;
    return ToInt(pane->PositionAt(local));
}

void PaneAccessible::scrollToSubstring(int startIndex, int) {
    Pane()->EnsureVisible(startIndex);
}

QString PaneAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    const ::Pane& pane = Pane()->Model();
    Colour colour = kBlack;
    TextRange run{offset, 0};
    pane.ForEachColourRun(offset, offset + 1, [&](TextRange, Colour found) { colour = found; });
    // The run's extent: as far as the colour goes on either side, within the line and a stretch
    // of it.
    const PaneText& content = pane.Content();
    const qsizetype line = content.LineAt(offset);
    const qsizetype from = std::max(content.LineStart(line), offset - kWordWindow);
    const qsizetype to = std::min(content.LineEnd(line), offset + kWordWindow);
    pane.ForEachColourRun(from, to, [&](TextRange range, Colour found) {
        if (found == colour && range.start <= offset && offset < range.End())
            run = range;
    });
    *startOffset = ToInt(run.start);
    *endOffset = ToInt(run.End());
    if (colour == kBlack)
        return {};
    return QStringLiteral("color:rgb(%1,%2,%3);")
        .arg(colour & 0xFF)
        .arg((colour >> 8) & 0xFF)
        .arg((colour >> 16) & 0xFF);
}

void PaneAccessible::deleteText(int startOffset, int endOffset) {
    replaceText(startOffset, endOffset, {});
}

void PaneAccessible::insertText(int offset, const QString& text) {
    replaceText(offset, offset, text);
}

void PaneAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    Pane()->Model().Select(startOffset, endOffset);
    Pane()->InsertText(text);
}
