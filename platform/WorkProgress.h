#pragma once

#include "platform/Pane.h"

#include <chrono>
#include <initializer_list>
#include <vector>

// Shows, on the panes that long work fills, how far it has come, once it has run long enough for
// that to be worth showing; takes it away again when the work is over.
class WorkProgress {
public:
    static constexpr std::chrono::milliseconds kShowAfter{500};

    explicit WorkProgress(std::initializer_list<Pane*> panes,
                          std::chrono::milliseconds showAfter = kShowAfter);
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    // `done` of `total`; a total of 0 is not known yet, and a mark that moves on at each call
    // shows that the work goes on.
    void Show(std::size_t done, std::size_t total);

private:
    std::vector<Pane*> panes_;
    std::chrono::steady_clock::time_point showFrom_;
    int calls_ = 0;
};
