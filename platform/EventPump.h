#pragma once

#include "platform/Task.h"

#include <exception>
#include <functional>

// Runs long work beside the window, and lets the window have the floor, without entering its
// event loop a second time: the procedure that asks suspends, and resumes on the window's thread
// once its turn comes.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Resumes the caller once the window has handled the events pending now.
    virtual Task<> Yield() = 0;
    // Runs `work` on a thread of its own while the window goes on painting and answering the
    // user (who may run other commands meanwhile). `tick` runs on the window's thread every few
    // tens of milliseconds meanwhile, to show progress or to tell the work to stop. The caller
    // resumes on the window's thread when the work is done, and gets what it threw.
    virtual Task<> RunAside(std::function<void()> work, std::function<void()> tick = {}) = 0;
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
    Task<> Yield() override { co_return; }
    Task<> RunAside(std::function<void()> work, std::function<void()>) override {
        work();
        co_return;
    }
};
