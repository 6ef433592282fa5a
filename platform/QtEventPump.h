#pragma once

#include "platform/EventPump.h"

#include <QThreadPool>

class QtEventPump final : public EventPump {
public:
    void DoEvents() override;
    void RunAside(const std::function<void()>& work, const std::function<void()>& tick,
                  bool userInput) override;
    void RunLater(std::function<void()> work, std::function<void()> then) override;

private:
    // Work for later has threads of its own: Qt's shared pool also serves the painting of the
    // window, which would wait behind it.
    QThreadPool later_;
};
