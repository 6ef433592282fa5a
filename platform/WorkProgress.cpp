#include "platform/WorkProgress.h"

WorkProgress::WorkProgress(std::initializer_list<Pane*> panes, std::chrono::milliseconds showAfter)
    : panes_(panes), showFrom_(std::chrono::steady_clock::now() + showAfter) {}

WorkProgress::~WorkProgress() {
    for (Pane* pane : panes_)
        pane->SetProgress(std::nullopt);
}

void WorkProgress::Show(std::size_t done, std::size_t total) {
    ++calls_;
    if (std::chrono::steady_clock::now() < showFrom_)
        return;
    const int permille = total > 0
                             ? static_cast<int>(std::min<std::size_t>(done, total) * 1000 / total)
                             : calls_ * 40 % 1000;
    for (Pane* pane : panes_)
        pane->SetProgress(permille);
}
