#pragma once

#include "platform/PaneLayouts.h"
#include "platform/PaneObserver.h"
#include "platform/PaneScroll.h"
#include "platform/PaneSegments.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class EntryPlaces;
class LineNumberGutter;
class OverviewStrip;
class Pane;
class QMenu;

// Shows a pane on screen and lets the user edit it. The pane stays the store: the widget keeps
// no copy of its text, only the layouts of the few pieces on screen (see PaneSegments), so that
// loading, colouring, scrolling and switching cost the same for ten lines or ten million, and for
// one line of a hundred megabytes. Every CR LF, lone CR and lone LF shows as one line break;
// breaks the user types or pastes reach the pane as CR LF. Colours are applied as a piece is
// drawn.
class PaneWidget final : public QAbstractScrollArea, private PaneObserver {
    Q_OBJECT

public:
    explicit PaneWidget(Pane& pane, QWidget* parent = nullptr);
    ~PaneWidget() override;

    Pane& Model() const { return pane_; }

    // Where `position` is drawn, in the viewport's coordinates (a caret-wide box); an empty box
    // when it is not on screen.
    QRectF CaretBox(qsizetype position);
    // The position nearest to a point of the viewport.
    qsizetype PositionAt(QPointF point);
    // Scrolls as little as needed to bring `position` on screen.
    void EnsureVisible(qsizetype position);
    // Where the view is scrolled to.
    ViewPlace Top() const { return top_; }
    // The pieces the text is laid out in (see PaneSegments): what the scroll bar counts.
    qsizetype PieceCount() const { return segments_.Count(); }
    qsizetype PieceStart(qsizetype piece) const;
    void ScrollToPiece(qsizetype piece);
    // A strip beside the scroll bar that marks where the red differences are (full panes).
    void ShowOverview(bool show);
    OverviewStrip* Overview() const { return overview_; }
    // Selects the next red difference after the selection's start (or the one before it), from
    // the last to the first, and scrolls all of it into view.
    void GoToDifference(bool forward);
    // What the pane's tooltip says with the pointer at `point` of its viewport.
    QString TipAt(QPoint point);

    // Where a stretch of text is brought on screen: as little scrolling as shows all of it, or
    // in the middle of the view. A stretch taller than the view shows its first row a third of
    // the way down.
    enum class Placing { Whole, Middle };
    void ShowStretch(TextRange stretch, Placing placing);

    // A gutter of line numbers inside the pane, left of the text: a full text numbers its own
    // lines, a list the lines its entries stand on in the text they were found in.
    void ShowLineNumbers(bool show);
    LineNumberGutter* Gutter() const { return gutter_; }
    // Makes the pane a list of entries found in `source`'s text (the full pane of its file):
    // its gutter numbers them by that text, and Enter or a double-click on one announces it.
    void ListEntriesOf(const Pane& source);
    // The first row of each line on screen, top to bottom, in the viewport's coordinates.
    struct LineStart {
        qsizetype line;
        qreal top;
        qreal baseline;
    };
    std::vector<LineStart> VisibleLineStarts();
    // The number the gutter shows beside a line; nothing beside a line of a list that shows no
    // entry. And the largest it may show, which sets the gutter's width.
    std::optional<qsizetype> LineNumberOf(qsizetype line);
    qsizetype LargestLineNumber();

    // The editing commands, as the keys and the context menu give them.
    void Undo();
    void Redo();
    void Cut();
    void Copy();
    void Paste();
    void DeleteSelection();
    void SelectAll();
    // Replaces the selection with `text` (breaks become CR LF), as typing or pasting does.
    void InsertText(const QString& text, bool typed = false);
    QMenu* CreateContextMenu();

Q_SIGNALS:
    // Files from the file manager were dropped on the pane.
    void FilesDropped(const QStringList& paths);
    // Enter or a double-click on an entry of a list (see ListEntriesOf) whose text the source pane
    // still holds: where the entry stands in it.
    void EntryActivated(qsizetype position, qsizetype length);

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool RefusesEdits() const;
    // What the pane tells.
    void TextReplaced() override;
    void TextEdited(qsizetype position, QStringView removed, qsizetype inserted) override;
    void ColoursChanged() override;
    void SelectionChanged() override;
    void VisibilityChanged() override;
    void ProgressChanged() override;

    // Telling a screen reader.
    void AnnounceText(qsizetype position, QStringView removed, qsizetype inserted);
    void AnnounceSelection();

    // Scrolling.
    void TextLaidOutAgain();
    void SetTop(ViewPlace top);
    ViewPlace LastTop();
    void ScrollByPixels(qreal pixels);
    void UpdateScrollBar();
    void PlaceOverview();
    void PlaceGutter();
    void UpdateMargins();
    void ViewportResized();
    // Emits EntryActivated for the entry on the line of `position`; false where there is none.
    bool ActivateEntryAt(qsizetype position);
    qreal ViewHeight() const;
    qreal RowHeight();

    // Drawing.
    void DrawPiece(QPainter& painter, qsizetype segment, QPointF at);
    void DrawProgress(QPainter& painter);
    QList<QTextLayout::FormatRange> ColourFormats(TextRange bounds) const;
    QList<QTextLayout::FormatRange> SelectionFormats(TextRange bounds) const;

    // Moving about.
    enum class Move {
        Left,
        Right,
        WordLeft,
        WordRight,
        Up,
        Down,
        RowStart,
        RowEnd,
        TextStart,
        TextEnd,
        PageUp,
        PageDown,
    };
    qsizetype Moved(qsizetype from, Move move);
    qsizetype Stepped(qsizetype from, bool forward, QTextLayout::CursorMode mode);
    qsizetype Vertical(qsizetype from, int rows);
    qsizetype RowEdge(qsizetype from, bool end);
    void MoveCaret(qsizetype position, bool extend);
    bool MoveKey(QKeyEvent* event);
    bool EditKey(QKeyEvent* event);
    void DeleteFrom(qsizetype from, bool forward, QTextLayout::CursorMode mode);
    // The place of a position: its piece and, within its layout, its offset and row.
    struct Located {
        qsizetype segment;
        qsizetype offset;
        int row;
    };
    Located Locate(qsizetype position);
    QString SelectedText() const;
    qsizetype FirstCharacter(TextRange red) const;
    void SelectWordAt(qsizetype position);
    void ShowCaret();

    Pane& pane_;
    PaneSegments segments_;
    PaneLayouts layouts_;
    PaneScroll scroll_;
    ViewPlace top_;
    std::optional<ViewPlace> lastTop_;
    bool settingScrollBar_ = false;
    qreal wantedX_ = -1; // the caret's column kept while it moves up and down
    bool caretOn_ = true;
    QBasicTimer blink_;
    QBasicTimer dragScroll_;
    bool selecting_ = false;
    QPointF dragPoint_;
    OverviewStrip* overview_ = nullptr;
    LineNumberGutter* gutter_ = nullptr;
    std::unique_ptr<EntryPlaces> entries_;
    qreal wheelNotches_ = 0;      // rows asked for by a high-resolution wheel, not scrolled yet
    qsizetype preeditCursor_ = 0; // where the input method's caret is in the text it composes
};
