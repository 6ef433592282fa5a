#pragma once

#include "platform/EventPump.h"

#include <functional>

// An event pump that counts its calls and runs whatever the test makes "happen" in the window.
class ScriptedEventPump final : public EventPump {
public:
    void DoEvents() override {
        ++calls;
        if (onPump)
            onPump(calls);
    }

    int calls = 0;
    std::function<void(int call)> onPump;
};
