#pragma once

#include "platform/ColourRuns.h"
#include "platform/MarkLayer.h"

#include <QString>

#include <vector>

// One edit of a pane's text by its user, with what it takes to undo it.
struct TextEdit {
    qsizetype position = 0;
    QString removed;
    // Their colours, and apart from them, which of them stood in red marks: the marks come back
    // as marks, not as millions of runs.
    ColourRuns removedColours;
    MarkLayer removedMarks;
    QString inserted;
    // The selection before the edit, as anchor and caret; undoing puts it back.
    qsizetype anchorBefore = 0;
    qsizetype caretBefore = 0;
};

// The user's edits of one pane, for undo and redo. Characters typed one after the other make one
// step, as in any editor; anything else is a step of its own.
class EditHistory {
public:
    // A new edit: whatever was undone can no longer be redone.
    void Record(TextEdit edit, bool typed);
    void Clear();

    bool CanUndo() const { return !done_.empty(); }
    bool CanRedo() const { return !undone_.empty(); }
    // The edit to undo, moved to the redo side; the caller reverts it.
    TextEdit TakeUndo();
    // The edit to redo, moved back to the undo side; the caller applies it again.
    TextEdit TakeRedo();

private:
    std::vector<TextEdit> done_;
    std::vector<TextEdit> undone_;
    bool lastTyped_ = false;
};
