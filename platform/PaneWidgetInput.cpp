// The pane widget's keys, mouse, input method, clipboard and context menu.
#include "platform/EntryPlaces.h"
#include "platform/Pane.h"
#include "platform/PaneWidget.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextLine>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kSurroundingUnits = 1000; // what an input method is shown around the caret

QStringList LocalFiles(const QMimeData* mime) {
    QStringList paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile())
            return {};
        paths.append(url.toLocalFile());
    }
    return paths;
}

// Text for the pane: every kind of break, from the clipboard or the keyboard, becomes CR LF.
QString WithCRLF(QString text) {
    text.replace(u"\r\n"_s, u"\n"_s);
    for (QChar& c : text)
        if (c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    return text.replace(u"\n"_s, u"\r\n"_s);
}

// Text for the clipboard: every break as the platform's text breaks are (one LF; Qt turns it
// into what the system expects).
QString WithLF(QString text) {
    text.replace(u"\r\n"_s, u"\n"_s);
    return text.replace(u'\r', u'\n');
}

bool IsTypedText(const QString& text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control && c != u'\t')
            return false;
    return true;
}

} // namespace

// --- Moving about -----------------------------------------------------------------------------

// One character or word on, across pieces and line breaks; a break is one step.
qsizetype PaneWidget::Stepped(qsizetype from, bool forward, QTextLayout::CursorMode mode) {
    const PaneText& text = pane_.Content();
    const qsizetype line = text.LineAt(from);
    const qsizetype start = text.LineStart(line), end = text.LineEnd(line);
    if (forward) {
        if (from >= end)
            return line + 1 < text.LineCount() ? text.LineStart(line + 1) : text.Length();
        const Located at = Locate(from);
        const PaneLayouts::Laid& laid = layouts_.At(at.segment);
        return laid.bounds.start +
               laid.layout.nextCursorPosition(static_cast<int>(at.offset), mode);
    }
    if (from > end)
        return end;
    if (from <= start)
        return line > 0 ? text.LineEnd(line - 1) : 0;
    Located at = Locate(from);
    if (at.offset == 0) // the first position of a piece: step back into the piece before
        at = {at.segment - 1, layouts_.At(at.segment - 1).bounds.length, 0};
    const PaneLayouts::Laid& laid = layouts_.At(at.segment);
    return laid.bounds.start +
           laid.layout.previousCursorPosition(static_cast<int>(at.offset), mode);
}

// The position `rows` rows up or down at the caret's column, across pieces.
qsizetype PaneWidget::Vertical(qsizetype from, int rows) {
    const Located at = Locate(from);
    const QTextLayout& layout = layouts_.At(at.segment).layout;
    if (wantedX_ < 0)
        wantedX_ = layout.lineAt(at.row).cursorToX(static_cast<int>(at.offset));
    qsizetype segment = at.segment;
    int row = at.row + rows;
    while (row < 0 && segment > 0) {
        --segment;
        row += layouts_.At(segment).layout.lineCount();
    }
    while (row >= layouts_.At(segment).layout.lineCount() && segment + 1 < segments_.Count()) {
        row -= layouts_.At(segment).layout.lineCount();
        ++segment;
    }
    if (row < 0)
        return 0;
    const PaneLayouts::Laid& laid = layouts_.At(segment);
    if (row >= laid.layout.lineCount())
        return pane_.Length();
    return laid.bounds.start + laid.layout.lineAt(row).xToCursor(wantedX_);
}

qsizetype PaneWidget::RowEdge(qsizetype from, bool end) {
    const Located at = Locate(from);
    const PaneLayouts::Laid& laid = layouts_.At(at.segment);
    const QTextLine row = laid.layout.lineAt(at.row);
    const qsizetype rowStart = laid.bounds.start + row.textStart();
    if (!end)
        return rowStart;
    const qsizetype rowEnd = rowStart + row.textLength();
    const bool lastOfLine =
        at.row + 1 == laid.layout.lineCount() &&
        laid.bounds.End() == pane_.Content().LineEnd(pane_.Content().LineAt(laid.bounds.start));
    // A wrapped row's end is where the next row begins: stop before the blank it wrapped at.
    return lastOfLine || rowEnd == rowStart ? rowEnd : rowEnd - 1;
}

qsizetype PaneWidget::Moved(qsizetype from, Move move) {
    switch (move) {
    case Move::Left:
        return Stepped(from, false, QTextLayout::SkipCharacters);
    case Move::Right:
        return Stepped(from, true, QTextLayout::SkipCharacters);
    case Move::WordLeft:
        return Stepped(from, false, QTextLayout::SkipWords);
    case Move::WordRight:
        return Stepped(from, true, QTextLayout::SkipWords);
    case Move::Up:
        return Vertical(from, -1);
    case Move::Down:
        return Vertical(from, 1);
    case Move::RowStart:
        return RowEdge(from, false);
    case Move::RowEnd:
        return RowEdge(from, true);
    case Move::TextStart:
        return 0;
    case Move::TextEnd:
        return pane_.Length();
    case Move::PageUp:
    case Move::PageDown: {
        const QRectF caret = CaretBox(from);
        const qreal page = std::max<qreal>(ViewHeight() - RowHeight(), 1);
        const ViewPlace before = top_;
        ScrollByPixels(move == Move::PageDown ? page : -page);
        if (top_ == before || caret.isEmpty())
            return move == Move::PageDown ? pane_.Length() : 0;
        return PositionAt(caret.center());
    }
    }
    return from;
}

void PaneWidget::MoveCaret(qsizetype position, bool extend) {
    pane_.Select(extend ? pane_.Anchor() : position, position);
    EnsureVisible(position);
    ShowCaret();
}

bool PaneWidget::MoveKey(QKeyEvent* event) {
    struct Binding {
        QKeySequence::StandardKey move;
        QKeySequence::StandardKey select;
        Move where;
    };
    static const Binding bindings[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Move::Right},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Move::Left},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Move::WordRight},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Move::WordLeft},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Move::Down},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Move::Up},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Move::RowStart},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Move::RowEnd},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, Move::TextStart},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Move::TextEnd},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Move::PageDown},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Move::PageUp},
    };
    for (const Binding& binding : bindings) {
        const bool select = event->matches(binding.select);
        if (!select && !event->matches(binding.move))
            continue;
        const bool vertical = binding.where == Move::Up || binding.where == Move::Down ||
                              binding.where == Move::PageUp || binding.where == Move::PageDown;
        const qreal keptX = wantedX_;
        if (!vertical)
            wantedX_ = -1;
        const qsizetype from = pane_.Caret();
        // Without a modifier, a move from a selection starts from its side in that direction.
        if (!select && pane_.SelLength() > 0 &&
            (binding.where == Move::Left || binding.where == Move::Right)) {
            MoveCaret(binding.where == Move::Left ? pane_.SelStart()
                                                  : pane_.SelStart() + pane_.SelLength(),
                      false);
            return true;
        }
        const qsizetype to = Moved(from, binding.where);
        MoveCaret(to, select);
        wantedX_ = vertical ? (wantedX_ >= 0 ? wantedX_ : keptX) : -1;
        return true;
    }
    return false;
}

// --- Editing ----------------------------------------------------------------------------------

// While a file loads into the pane, an edit is refused out loud rather than lost.
bool PaneWidget::RefusesEdits() const {
    if (pane_.TakesEdits())
        return false;
    QApplication::beep();
    return true;
}

void PaneWidget::InsertText(const QString& text, bool typed) {
    if (RefusesEdits())
        return;
    pane_.Edit(pane_.SelStart(), pane_.SelLength(), WithCRLF(text), typed);
    wantedX_ = -1;
    EnsureVisible(pane_.Caret());
    ShowCaret();
}

void PaneWidget::DeleteSelection() {
    if (pane_.SelLength() == 0 || RefusesEdits())
        return;
    pane_.Edit(pane_.SelStart(), pane_.SelLength(), {});
    EnsureVisible(pane_.Caret());
}

void PaneWidget::DeleteFrom(qsizetype from, bool forward, QTextLayout::CursorMode mode) {
    if (pane_.SelLength() > 0) {
        DeleteSelection();
        return;
    }
    if (RefusesEdits())
        return;
    const qsizetype to = Stepped(from, forward, mode);
    pane_.Edit(std::min(from, to), std::abs(to - from), {});
    wantedX_ = -1;
    EnsureVisible(pane_.Caret());
    ShowCaret();
}

void PaneWidget::Undo() {
    if (RefusesEdits())
        return;
    pane_.Undo();
    EnsureVisible(pane_.Caret());
}

void PaneWidget::Redo() {
    if (RefusesEdits())
        return;
    pane_.Redo();
    EnsureVisible(pane_.Caret());
}

QString PaneWidget::SelectedText() const {
    return pane_.Content().Mid(pane_.SelStart(), pane_.SelStart() + pane_.SelLength());
}

void PaneWidget::Copy() {
    if (pane_.SelLength() > 0)
        QGuiApplication::clipboard()->setText(WithLF(SelectedText()));
}

void PaneWidget::Cut() {
    Copy();
    DeleteSelection();
}

void PaneWidget::Paste() {
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        InsertText(text);
}

void PaneWidget::SelectAll() {
    pane_.Select(0, pane_.Length());
}

bool PaneWidget::EditKey(QKeyEvent* event) {
    using Command = void (PaneWidget::*)();
    static const std::pair<QKeySequence::StandardKey, Command> commands[] = {
        {QKeySequence::Undo, &PaneWidget::Undo},
        {QKeySequence::Redo, &PaneWidget::Redo},
        {QKeySequence::Cut, &PaneWidget::Cut},
        {QKeySequence::Copy, &PaneWidget::Copy},
        {QKeySequence::Paste, &PaneWidget::Paste},
        {QKeySequence::SelectAll, &PaneWidget::SelectAll},
    };
    for (const auto& [key, command] : commands) {
        if (event->matches(key)) {
            (this->*command)();
            return true;
        }
    }
    const qsizetype caret = pane_.Caret();
    if (event->matches(QKeySequence::Delete))
        DeleteFrom(caret, true, QTextLayout::SkipCharacters);
    else if (event->matches(QKeySequence::DeleteEndOfWord))
        DeleteFrom(caret, true, QTextLayout::SkipWords);
    else if (event->matches(QKeySequence::DeleteStartOfWord))
        DeleteFrom(caret, false, QTextLayout::SkipWords);
    else if (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier))
        DeleteFrom(caret, false, QTextLayout::SkipCharacters);
    else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        InsertText(u"\r\n"_s, true);
    else
        return false;
    return true;
}

void PaneWidget::keyPressEvent(QKeyEvent* event) {
    const bool alt = event->modifiers() == Qt::AltModifier;
    if (event->key() == Qt::Key_F8 ||
        (alt && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up))) {
        GoToDifference(event->key() == Qt::Key_Down ||
                       (event->key() == Qt::Key_F8 && !(event->modifiers() & Qt::ShiftModifier)));
        event->accept();
        return;
    }
    // A list shown by place is not edited by Enter: it goes to the entry, where there is one.
    const bool enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                       !(event->modifiers() & ~Qt::KeypadModifier);
    if (enter && entries_ && entries_->HoldsList()) {
        ActivateEntryAt(pane_.Caret());
        event->accept();
        return;
    }
    if (MoveKey(event) || EditKey(event)) {
        event->accept();
        return;
    }
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier) &&
                         !(event->modifiers() & Qt::AltModifier); // AltGr types text
    if (!command && IsTypedText(event->text())) {
        InsertText(event->text(), true);
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

// Tab types a tab instead of moving the focus; the editing keys are not taken as shortcuts of
// the window while the pane has the focus.
bool PaneWidget::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && !(key->modifiers() & ~Qt::KeypadModifier)) {
            InsertText(u"\t"_s, true);
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool typing = IsTypedText(key->text()) &&
                            !(key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
        const QKeySequence::StandardKey ours[] = {QKeySequence::Undo,
                                                  QKeySequence::Redo,
                                                  QKeySequence::Cut,
                                                  QKeySequence::Copy,
                                                  QKeySequence::Paste,
                                                  QKeySequence::SelectAll,
                                                  QKeySequence::Delete,
                                                  QKeySequence::MoveToStartOfDocument,
                                                  QKeySequence::MoveToEndOfDocument};
        if (typing || std::any_of(std::begin(ours), std::end(ours),
                                  [&](auto sequence) { return key->matches(sequence); })) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

// --- Mouse ------------------------------------------------------------------------------------

void PaneWidget::SelectWordAt(qsizetype position) {
    const qsizetype start =
        Stepped(Stepped(position, true, QTextLayout::SkipWords), false, QTextLayout::SkipWords);
    const qsizetype begin =
        start <= position ? start : Stepped(position, false, QTextLayout::SkipWords);
    const qsizetype end = Stepped(begin, true, QTextLayout::SkipWords);
    pane_.Select(begin, std::max(end, position));
}

void PaneWidget::mousePressEvent(QMouseEvent* event) {
    const qsizetype position = PositionAt(event->position());
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        pane_.Select(position, position);
        const QString text = QGuiApplication::clipboard()->text(QClipboard::Selection);
        if (!text.isEmpty())
            InsertText(text);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    wantedX_ = -1;
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    pane_.Select(extend ? pane_.Anchor() : position, position);
    selecting_ = true;
    ShowCaret();
}

void PaneWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!selecting_ || !(event->buttons() & Qt::LeftButton))
        return;
    dragPoint_ = event->position();
    pane_.Select(pane_.Anchor(), PositionAt(dragPoint_));
    const bool outside = dragPoint_.y() < 0 || dragPoint_.y() > ViewHeight();
    if (outside && !dragScroll_.isActive())
        dragScroll_.start(50, this);
    else if (!outside)
        dragScroll_.stop();
}

void PaneWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    selecting_ = false;
    dragScroll_.stop();
    if (pane_.SelLength() > 0 && QGuiApplication::clipboard()->supportsSelection())
        QGuiApplication::clipboard()->setText(WithLF(SelectedText()), QClipboard::Selection);
}

void PaneWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    selecting_ = false;
    const qsizetype position = PositionAt(event->position());
    if (!ActivateEntryAt(position))
        SelectWordAt(position);
}

void PaneWidget::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

QMenu* PaneWidget::CreateContextMenu() {
    auto* menu = new QMenu(this);
    const bool selected = pane_.SelLength() > 0;
    const auto add = [&](const QString& text, void (PaneWidget::*command)(), bool enabled,
                         QKeySequence::StandardKey key) {
        QAction* action = menu->addAction(text, this, command);
        action->setEnabled(enabled);
        action->setShortcut(key);
    };
    add(tr("&Undo"), &PaneWidget::Undo, pane_.CanUndo(), QKeySequence::Undo);
    add(tr("&Redo"), &PaneWidget::Redo, pane_.CanRedo(), QKeySequence::Redo);
    menu->addSeparator();
    add(tr("Cu&t"), &PaneWidget::Cut, selected, QKeySequence::Cut);
    add(tr("&Copy"), &PaneWidget::Copy, selected, QKeySequence::Copy);
    add(tr("&Paste"), &PaneWidget::Paste, !QGuiApplication::clipboard()->text().isEmpty(),
        QKeySequence::Paste);
    add(tr("Delete"), &PaneWidget::DeleteSelection, selected, QKeySequence::Delete);
    menu->addSeparator();
    add(tr("Select All"), &PaneWidget::SelectAll, pane_.Length() > 0, QKeySequence::SelectAll);
    // What the window adds to its panes (QWidget::addAction): line numbers, the way back.
    if (!actions().isEmpty()) {
        menu->addSeparator();
        menu->addActions(actions());
    }
    return menu;
}

// --- Caret, focus, timers ---------------------------------------------------------------------

void PaneWidget::ShowCaret() {
    caretOn_ = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash > 0)
        blink_.start(flash / 2, this);
    viewport()->update();
}

void PaneWidget::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    ShowCaret();
}

void PaneWidget::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    blink_.stop();
    viewport()->update();
}

void PaneWidget::timerEvent(QTimerEvent* event) {
    if (event->timerId() == blink_.timerId()) {
        caretOn_ = !caretOn_;
        viewport()->update();
    } else if (event->timerId() == dragScroll_.timerId()) {
        const qreal row = RowHeight();
        ScrollByPixels(dragPoint_.y() < 0 ? -row : row);
        pane_.Select(pane_.Anchor(), PositionAt(dragPoint_));
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

// --- Input methods ----------------------------------------------------------------------------

void PaneWidget::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty() || event->replacementLength() > 0) {
        if (event->replacementLength() > 0 && pane_.SelLength() == 0) {
            const qsizetype from = pane_.Caret() + event->replacementStart();
            pane_.Select(from, from + event->replacementLength());
        }
        InsertText(event->commitString(), true);
    }
    QList<QTextLayout::FormatRange> formats;
    preeditCursor_ = event->preeditString().size();
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor) {
            preeditCursor_ = attribute.start;
        } else if (attribute.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat format = attribute.value.value<QTextFormat>().toCharFormat();
            if (format.isValid())
                formats.append({attribute.start, attribute.length, format});
        }
    }
    if (event->preeditString().isEmpty())
        preeditCursor_ = 0;
    layouts_.SetPreedit(pane_.Caret(), event->preeditString(), formats);
    lastTop_.reset();
    viewport()->update();
    event->accept();
}

QVariant PaneWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
    auto* self = const_cast<PaneWidget*>(this); // layouts are made on demand
    const PaneText& text = pane_.Content();
    const qsizetype caret = pane_.Caret();
    // The surrounding text: the caret's line, or a stretch of a long one around the caret.
    const qsizetype line = text.LineAt(caret);
    const qsizetype from = std::max(text.LineStart(line), caret - kSurroundingUnits);
    const qsizetype to = std::min(text.LineEnd(line), caret + kSurroundingUnits);
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImHints:
        return static_cast<int>(Qt::ImhMultiLine);
    case Qt::ImFont:
        return font();
    case Qt::ImCursorRectangle: {
        const QRectF box = self->CaretBox(caret);
        return box.translated(viewport()->pos()).toAlignedRect();
    }
    case Qt::ImCursorPosition:
        return static_cast<int>(std::clamp(caret, from, to) - from);
    case Qt::ImAnchorPosition:
        return static_cast<int>(std::clamp(pane_.Anchor(), from, to) - from);
    case Qt::ImAbsolutePosition:
        return static_cast<qlonglong>(caret);
    case Qt::ImSurroundingText:
        return text.Mid(from, to);
    case Qt::ImTextBeforeCursor:
        return text.Mid(from, std::clamp(caret, from, to));
    case Qt::ImTextAfterCursor:
        return text.Mid(std::clamp(caret, from, to), to);
    case Qt::ImCurrentSelection:
        return pane_.SelLength() <= kSurroundingUnits ? SelectedText() : QString();
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// --- Dropping ---------------------------------------------------------------------------------

void PaneWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty() || event->mimeData()->hasText())
        event->acceptProposedAction();
}

void PaneWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty() || event->mimeData()->hasText())
        event->acceptProposedAction();
}

void PaneWidget::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    event->acceptProposedAction();
    if (!files.isEmpty()) {
        Q_EMIT FilesDropped(files);
        return;
    }
    const qsizetype position = PositionAt(event->position());
    pane_.Select(position, position);
    InsertText(event->mimeData()->text());
}
