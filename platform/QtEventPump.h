#pragma once

#include "platform/EventPump.h"

#include <QObject>
#include <QThreadPool>

#include <memory>

// The window's pump on Qt: work aside runs on threads of its own, and the procedure waiting for
// it is resumed by an event posted to the window's thread.
class QtEventPump final : public EventPump {
public:
    QtEventPump();

    Task<> Yield() override;
    Task<> RunAside(std::function<void()> work, std::function<void()> tick) override;

private:
    // Made on the window's thread, where it resumes the procedures. It goes after the work on
    // the pool has ended, which may still post to it.
    std::unique_ptr<QObject> resumer_;
    // A pool of the pump's own: Qt's shared pool also serves the painting of the window, which
    // would wait behind long work; and a load must not wait behind a comparison.
    QThreadPool aside_;
};
