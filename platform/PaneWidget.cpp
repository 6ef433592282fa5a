#include "platform/PaneWidget.h"

#include "platform/Pane.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QUrl>

namespace {

QColor ToQColor(Colour colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

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

} // namespace

PaneWidget::PaneWidget(Pane& pane, QWidget* parent) : QPlainTextEdit(parent), pane_(pane) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(document(), &QTextDocument::contentsChange, this, &PaneWidget::TakeEdit);
    pane_.SetObserver(this);
    TextReplaced();
    VisibilityChanged();
}

PaneWidget::~PaneWidget() {
    pane_.SetObserver(nullptr);
}

void PaneWidget::TextReplaced() {
    QScopedValueRollback mirroring(mirroring_, true);
    lines_.Rebuild(pane_.Text());
    setPlainText(DisplayLines::ToDisplay(pane_.Text()));
    ColoursStale();
}

void PaneWidget::TextAppended(qsizetype oldLength) {
    QScopedValueRollback mirroring(mirroring_, true);
    const QStringView text = pane_.Text();
    const qsizetype shownFrom = lines_.Extend(text, oldLength);
    if (shownFrom < text.size()) {
        // Appends are the program's own output, not something the user should undo.
        document()->setUndoRedoEnabled(false);
        QTextCursor end(document());
        end.movePosition(QTextCursor::End);
        end.insertText(DisplayLines::ToDisplay(text.mid(shownFrom)));
        document()->setUndoRedoEnabled(true);
    }
    ColoursStale();
}

void PaneWidget::ColoursChanged() {
    ColoursStale();
}

void PaneWidget::VisibilityChanged() {
    setVisible(pane_.Visible());
}

void PaneWidget::ColoursStale() {
    colourStamp_ = colourStamp_ == INT_MAX ? 0 : colourStamp_ + 1;
    viewport()->update();
}

// An edit by the user: `removed` editor characters at `position` gave way to `added` ones. Each
// editor break stands for one break of the pane's text, which may be one or two units long.
void PaneWidget::TakeEdit(int position, int removed, int added) {
    if (mirroring_)
        return;
    const QTextBlock first = document()->findBlock(position);
    const qsizetype line = first.blockNumber();
    QTextCursor inserted(document());
    inserted.setPosition(position);
    inserted.setPosition(position + added, QTextCursor::KeepAnchor);
    const QString addedText = inserted.selectedText();
    const qsizetype breaksAdded = addedText.count(QChar::ParagraphSeparator);
    const qsizetype breaksRemoved = lines_.Count() - document()->blockCount() + breaksAdded;
    if (line >= lines_.Count() || breaksRemoved < 0 || line + breaksRemoved >= lines_.Count()) {
        TakeWholeText();
        return;
    }
    const QString& text = pane_.Text();
    qsizetype paneRemoved = removed - breaksRemoved;
    for (qsizetype i = line; i < line + breaksRemoved; ++i)
        paneRemoved += lines_.BreakLength(text, i);
    const qsizetype panePosition = lines_.Start(line) + (position - first.position());
    pane_.ReplaceFromView(panePosition, paneRemoved, DisplayLines::FromDisplay(addedText));
    lines_.Rebuild(pane_.Text());
    if (lines_.Count() != document()->blockCount())
        TakeWholeText(); // e.g. a lone CR and a lone LF that the edit brought together
    ColoursStale();
}

// Makes the pane's text what the editor shows, every break CR LF. Only for edits that cannot be
// mapped one to one; the colour of the text goes with it.
void PaneWidget::TakeWholeText() {
    const QString text = DisplayLines::FromDisplay(toPlainText());
    pane_.ReplaceFromView(0, pane_.Text().size(), text);
    const TextRange all{0, text.size()};
    pane_.ColourRanges(std::span(&all, 1), kBlack);
    lines_.Rebuild(pane_.Text());
}

void PaneWidget::paintEvent(QPaintEvent* event) {
    ApplyColoursToVisibleLines();
    QPlainTextEdit::paintEvent(event);
}

// Gives each line on screen the colours the pane holds for it, as extra formats of its layout,
// the way a syntax highlighter does, so the document itself stays plain text.
void PaneWidget::ApplyColoursToVisibleLines() {
    const QStringView text = pane_.Text();
    const qreal bottom = viewport()->rect().bottom();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        if (blockBoundingGeometry(block).translated(contentOffset()).top() > bottom)
            break;
        if (block.userState() == colourStamp_ || block.blockNumber() >= lines_.Count())
            continue;
        const qsizetype start = lines_.Start(block.blockNumber());
        const qsizetype end = std::min<qsizetype>(start + block.length() - 1, text.size());
        QList<QTextLayout::FormatRange> formats;
        pane_.Colours().ForEachRunIn(start, end, [&](TextRange range, Colour colour) {
            if (colour == kBlack)
                return;
            QTextLayout::FormatRange format;
            format.start = static_cast<int>(range.start - start);
            format.length = static_cast<int>(range.length);
            format.format.setForeground(ToQColor(colour));
            formats.append(format);
        });
        block.setUserState(colourStamp_);
        if (formats.isEmpty() && block.layout()->formats().isEmpty())
            continue;
        block.layout()->setFormats(formats);
        document()->markContentsDirty(block.position(), block.length());
    }
}

void PaneWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        QPlainTextEdit::dragEnterEvent(event);
}

void PaneWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        QPlainTextEdit::dragMoveEvent(event);
}

void PaneWidget::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty()) {
        QPlainTextEdit::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    Q_EMIT FilesDropped(files);
}
