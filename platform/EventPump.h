#pragma once

#include <functional>

// Lets the window handle whatever events are pending, and runs long work beside it.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Handles the events that are pending, then returns.
    virtual void DoEvents() = 0;
    // Runs `work` on a thread of its own while the window goes on painting, and, with
    // `userInput`, answering the user too (who may then run other commands meanwhile; without it
    // their clicks and keys wait until the work is done). `tick` runs on this thread every few
    // tens of milliseconds meanwhile, to show progress or to tell the work to stop. Returns when
    // the work is done and rethrows what it threw.
    virtual void RunAside(const std::function<void()>& work, const std::function<void()>& tick,
                          bool userInput) = 0;
};

// For work with no window to keep alive: everything runs at once, on the caller's thread.
class NoEventPump final : public EventPump {
public:
    void DoEvents() override {}
    void RunAside(const std::function<void()>& work, const std::function<void()>&,
                  bool) override {
        work();
    }
};
