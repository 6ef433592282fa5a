#pragma once

// Lets the window handle whatever events are pending, then returns.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void DoEvents() = 0;
};

// For work with no window to keep alive.
class NoEventPump final : public EventPump {
public:
    void DoEvents() override {}
};
