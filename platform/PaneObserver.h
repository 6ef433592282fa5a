#pragma once

#include <QtGlobal>

// Whatever shows a pane on screen; told of each change to the pane's content. Changes that come
// from the view itself (the user typing) are not echoed back.
class PaneObserver {
public:
    virtual void TextReplaced() = 0;
    virtual void TextAppended(qsizetype oldLength) = 0;
    virtual void ColoursChanged() = 0;
    virtual void VisibilityChanged() = 0;

protected:
    ~PaneObserver() = default;
};
