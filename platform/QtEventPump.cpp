#include "platform/QtEventPump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <exception>
#include <thread>

namespace {

constexpr int kTickMs = 40;

} // namespace

void QtEventPump::DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// The window's own event loop runs nested until the worker says it is done; a queued call wakes
// it, so the work's end is seen at once rather than at the next look.
void QtEventPump::RunAside(const std::function<void()>& work, const std::function<void()>& tick,
                           bool userInput) {
    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        failure = RunCatching(work);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QTimer ticker;
    if (tick) {
        QObject::connect(&ticker, &QTimer::timeout, tick);
        ticker.start(kTickMs);
    }
    loop.exec(userInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

// The pool's threads are waited for when the pump goes; `then` is queued to the application, so
// it runs on the window's thread.
void QtEventPump::RunLater(std::function<void()> work, std::function<void()> then) {
    later_.start([work = std::move(work), then = std::move(then)] {
        RunCatching(work);
        if (QCoreApplication* application = QCoreApplication::instance())
            QMetaObject::invokeMethod(application, then, Qt::QueuedConnection);
    });
}
