#pragma once

#include "platform/EventPump.h"

#include <exception>
#include <functional>
#include <thread>

// An event pump that counts its calls and runs whatever the test makes "happen" in the window.
// Work run aside gets one such call before it starts (the window had the floor meanwhile) and
// then runs to its end on a thread of its own; the procedure that asked goes on at once.
class ScriptedEventPump final : public EventPump {
public:
    Task<> Yield() override {
        Pump();
        co_return;
    }

    Task<> RunAside(std::function<void()> work, std::function<void()> tick) override {
        ++asides;
        Pump();
        if (tick)
            tick();
        std::exception_ptr failure;
        std::thread worker([&] { failure = RunCatching(work); });
        worker.join();
        if (tick)
            tick();
        if (failure)
            std::rethrow_exception(failure);
        co_return;
    }

    int calls = 0;
    int asides = 0;
    std::function<void(int call)> onPump;

private:
    void Pump() {
        ++calls;
        if (onPump)
            onPump(calls);
    }
};
