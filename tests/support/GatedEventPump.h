#pragma once

#include "platform/EventPump.h"

#include <QCoreApplication>

#include <coroutine>
#include <deque>
#include <exception>
#include <functional>

// Work aside waits until the test lets it go, so that a test can do, between a command's start
// and its end, what a user does meanwhile, in an order of its choosing, the same on every run.
// A job let go looks at the window once (its tick) before its work runs, and once after.
class GatedEventPump final : public EventPump {
public:
    Task<> Yield() override { co_return; }

    Task<> RunAside(std::function<void()> work, std::function<void()> tick) override {
        co_await Held(held_);
        if (tick)
            tick();
        const std::exception_ptr failure = RunCatching(work);
        if (tick)
            tick();
        if (failure)
            std::rethrow_exception(failure);
    }

    std::size_t Waiting() const { return held_.size(); }

    // Lets the job that has waited longest (or the `i`th) go, and the window's queued events
    // run, as its own event loop would run them.
    void Release(std::size_t i = 0) {
        const std::coroutine_handle<> job = held_.at(i);
        held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(i));
        job.resume();
        QCoreApplication::processEvents();
    }
    void ReleaseAll() {
        while (!held_.empty())
            Release();
    }

private:
    struct Held {
        explicit Held(std::deque<std::coroutine_handle<>>& queue) : held(queue) {}
        std::deque<std::coroutine_handle<>>& held;
        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> job) { held.push_back(job); }
        void await_resume() const noexcept {}
    };

    std::deque<std::coroutine_handle<>> held_;
};
