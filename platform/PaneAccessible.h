#pragma once

#include <QAccessibleWidget>

class PaneWidget;

// What a screen reader asks of a pane: its text, read a stretch at a time (never the whole of a
// large text unless asked for it), the caret, the selection, where a character is drawn, the
// colour of the text (a red difference is "color:rgb(255,0,0)"), and edits.
class PaneAccessible final : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
public:
    explicit PaneAccessible(PaneWidget* widget);

    // Makes panes known to Qt's accessibility; for QAccessible::installFactory.
    static QAccessibleInterface* Factory(const QString& className, QObject* object);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text which) const override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    PaneWidget* Pane() const;
    // The stretch of text of one boundary type around `offset`.
    std::pair<int, int> Around(int offset, QAccessible::TextBoundaryType boundary) const;
    QString Stretch(std::pair<int, int> range, int* startOffset, int* endOffset) const;
};
