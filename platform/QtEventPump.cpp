#include "platform/QtEventPump.h"

#include <QTimer>

#include <coroutine>

namespace {

constexpr int kTickMs = 40;
// Loads, saves, both comparisons and their follow-ups may all be under way at once.
constexpr int kMostThreads = 16;

// Resumes a suspended procedure on the window's thread, among the window's later events. The call
// is queued to the pump's own object: a pump that is gone (at the end of a test) resumes nothing.
void ResumeOnWindowThread(QObject& pump, std::coroutine_handle<> procedure) {
    QMetaObject::invokeMethod(
        &pump, [procedure] { procedure.resume(); }, Qt::QueuedConnection);
}

struct YieldToWindow {
    explicit YieldToWindow(QObject& onBehalfOf) : pump(onBehalfOf) {}
    QObject& pump;
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> procedure) { ResumeOnWindowThread(pump, procedure); }
    void await_resume() const noexcept {}
};

// Suspends the procedure while the work runs on the pool; the worker queues its resumption.
struct WorkOnPool {
    WorkOnPool(QObject& onBehalfOf, QThreadPool& toRunOn, std::function<void()> toRun)
        : pump(onBehalfOf), pool(toRunOn), work(std::move(toRun)) {}

    QObject& pump;
    QThreadPool& pool;
    std::function<void()> work;
    std::exception_ptr failure;

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> procedure) {
        pool.start([this, procedure] {
            failure = RunCatching(work);
            ResumeOnWindowThread(pump, procedure);
        });
    }
    void await_resume() const {
        if (failure)
            std::rethrow_exception(failure);
    }
};

} // namespace

QtEventPump::QtEventPump() {
    aside_.setMaxThreadCount(kMostThreads);
}

Task<> QtEventPump::Yield() {
    co_await YieldToWindow(resumer_);
}

Task<> QtEventPump::RunAside(std::function<void()> work, std::function<void()> tick) {
    QTimer ticker;
    if (tick) {
        QObject::connect(&ticker, &QTimer::timeout, tick);
        ticker.start(kTickMs);
    }
    co_await WorkOnPool(resumer_, aside_, std::move(work));
}
