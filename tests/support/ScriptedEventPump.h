#pragma once

#include "platform/EventPump.h"

#include <exception>
#include <functional>
#include <thread>

// An event pump that counts its calls and runs whatever the test makes "happen" in the window.
// Work run aside gets one such call before it starts (the window had the floor meanwhile) and
// then runs to its end on a thread of its own.
class ScriptedEventPump final : public EventPump {
public:
    void DoEvents() override {
        ++calls;
        if (onPump)
            onPump(calls);
    }

    void RunAside(const std::function<void()>& work, const std::function<void()>& tick,
                  bool userInput) override {
        ++asides;
        if (userInput)
            DoEvents();
        if (tick)
            tick();
        std::exception_ptr failure;
        std::thread worker([&] { failure = RunCatching(work); });
        worker.join();
        if (tick)
            tick();
        if (failure)
            std::rethrow_exception(failure);
    }

    // Work for later runs at once, and what follows it too.
    void RunLater(std::function<void()> work, std::function<void()> then) override {
        ++laters;
        RunCatching(work);
        then();
    }

    int calls = 0;
    int asides = 0;
    int laters = 0;
    std::function<void(int call)> onPump;
};
