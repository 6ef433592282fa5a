#pragma once

#include <exception>
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
    // Runs `work` on a thread of its own and returns at once; `then` runs on this thread among
    // the window's later events, once the work is done (whether or not it threw).
    virtual void RunLater(std::function<void()> work, std::function<void()> then) = 0;
};

// Runs `work` and gives back what it threw, for handing over from a worker thread.
inline std::exception_ptr RunCatching(const std::function<void()>& work) {
    try {
        work();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

// For work with no window to keep alive: everything runs at once, on the caller's thread.
class NoEventPump final : public EventPump {
public:
    void DoEvents() override {}
    void RunAside(const std::function<void()>& work, const std::function<void()>&, bool) override {
        work();
    }
    void RunLater(std::function<void()> work, std::function<void()> then) override {
        RunCatching(work);
        then();
    }
};
