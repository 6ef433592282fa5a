#pragma once

#include <QStringView>

// Whatever shows a pane on screen; told of each change to the pane, whoever made it.
class PaneObserver {
public:
    // The whole content is new.
    virtual void TextReplaced() = 0;
    // The units `removed` at `position` gave way to `inserted` units (an append is an edit at the
    // end).
    virtual void TextEdited(qsizetype position, QStringView removed, qsizetype inserted) = 0;
    virtual void ColoursChanged() = 0;
    virtual void SelectionChanged() = 0;
    virtual void VisibilityChanged() = 0;
    virtual void ProgressChanged() = 0;

protected:
    ~PaneObserver() = default;
};
