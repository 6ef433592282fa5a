#pragma once

#include "platform/EventPump.h"

class QtEventPump final : public EventPump {
public:
    void DoEvents() override;
    void RunAside(const std::function<void()>& work, const std::function<void()>& tick,
                  bool userInput) override;
    void RunLater(std::function<void()> work, std::function<void()> then) override;
};
