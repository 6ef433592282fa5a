#pragma once

#include "platform/EventPump.h"

#include <QObject>
#include <QThreadPool>

// The window's pump on Qt: work aside runs on threads of its own, and the procedure waiting for
// it is resumed by a call queued to the window's thread.
class QtEventPump final : public EventPump {
public:
    QtEventPump();

    Task<> Yield() override;
    Task<> RunAside(std::function<void()> work, std::function<void()> tick) override;

private:
    // What the procedures are resumed through: it goes after the pool, whose work may still queue
    // a resumption as it ends.
    QObject resumer_;
    // A pool of the pump's own: Qt's shared pool also serves the painting of the window, which
    // would wait behind long work; and a load must not wait behind a comparison.
    QThreadPool aside_;
};
