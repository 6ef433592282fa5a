#pragma once

#include "platform/DisplayLines.h"
#include "platform/PaneObserver.h"

#include <QPlainTextEdit>
#include <QStringList>

class Pane;

// Shows a pane on screen and lets the user edit it. The pane stays the store: the widget mirrors
// its text (each CR LF, lone CR and lone LF one line break), takes the user's edits into it with
// every break as CR LF, and draws its colours. Colours are applied only to the lines on screen,
// when they are painted, so colouring a million ranges costs nothing here.
class PaneWidget final : public QPlainTextEdit, private PaneObserver {
    Q_OBJECT

public:
    explicit PaneWidget(Pane& pane, QWidget* parent = nullptr);
    ~PaneWidget() override;

    Pane& Model() const { return pane_; }
    // Lines as the editor shows them, for tests and diagnostics.
    const DisplayLines& Lines() const { return lines_; }

Q_SIGNALS:
    // Files from the file manager were dropped on the pane.
    void FilesDropped(const QStringList& paths);

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void TextReplaced() override;
    void TextAppended(qsizetype oldLength) override;
    void ColoursChanged() override;
    void VisibilityChanged() override;

    void TakeEdit(int position, int removed, int added);
    void TakeWholeText();
    void ApplyColoursToVisibleLines();
    void ColoursStale();

    Pane& pane_;
    DisplayLines lines_;
    bool mirroring_ = false; // the editor is being brought in line with the pane
    int colourStamp_ = 0;    // lines whose user state differs need their colours again
};
