#pragma once

#include "cli/CliOptions.h"
#include "cli/InputText.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

// The two files, opened side by side. The first that cannot be opened ends the wait, even while
// the other is still waiting on a pipe or reading a device without end: the reading that is left
// is told to stop, and runs on by itself.
class TwoTexts {
public:
    explicit TwoTexts(const CliOptions& options);
    ~TwoTexts() { state_->stop = true; }

    // Waits for both; returns the file that failed first (0 or 1) and why, or -1.
    int Wait(QString& failure);
    InputText& Text(int i) { return *state_->texts[i]; }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        std::atomic<bool> stop = false;
        std::unique_ptr<InputText> texts[2];
        QString failures[2];
        bool done[2] = {false, false};
    };
    std::shared_ptr<State> state_;
};
