#include "platform/EditHistory.h"

void EditHistory::Record(TextEdit edit, bool typed) {
    undone_.clear();
    TextEdit* last = done_.empty() ? nullptr : &done_.back();
    if (typed && lastTyped_ && last && edit.removed.isEmpty() && last->removed.isEmpty() &&
        last->position + last->inserted.size() == edit.position) {
        last->inserted += edit.inserted;
        return;
    }
    done_.push_back(std::move(edit));
    lastTyped_ = typed;
}

void EditHistory::Clear() {
    done_.clear();
    undone_.clear();
    lastTyped_ = false;
}

TextEdit EditHistory::TakeUndo() {
    TextEdit edit = std::move(done_.back());
    done_.pop_back();
    lastTyped_ = false;
    undone_.push_back(edit);
    return edit;
}

TextEdit EditHistory::TakeRedo() {
    TextEdit edit = std::move(undone_.back());
    undone_.pop_back();
    done_.push_back(edit);
    return edit;
}
