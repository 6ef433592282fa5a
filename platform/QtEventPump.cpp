#include "platform/QtEventPump.h"

#include <QCoreApplication>
#include <QTimer>

#include <coroutine>

namespace {

constexpr int kTickMs = 40;
// Loads, saves, both comparisons and their follow-ups may all be under way at once.
constexpr int kMostThreads = 16;

// Resumes a suspended procedure on the window's thread, among the window's later events.
void ResumeOnWindowThread(std::coroutine_handle<> procedure) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [procedure] { procedure.resume(); }, Qt::QueuedConnection);
}

struct YieldToWindow {
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> procedure) { ResumeOnWindowThread(procedure); }
    void await_resume() const noexcept {}
};

// Suspends the procedure while the work runs on the pool; the worker queues its resumption.
struct WorkOnPool {
    WorkOnPool(QThreadPool& toRunOn, std::function<void()> toRun)
        : pool(toRunOn), work(std::move(toRun)) {}

    QThreadPool& pool;
    std::function<void()> work;
    std::exception_ptr failure;

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> procedure) {
        pool.start([this, procedure] {
            failure = RunCatching(work);
            ResumeOnWindowThread(procedure);
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
    co_await YieldToWindow{};
}

Task<> QtEventPump::RunAside(std::function<void()> work, std::function<void()> tick) {
    QTimer ticker;
    if (tick) {
        QObject::connect(&ticker, &QTimer::timeout, tick);
        ticker.start(kTickMs);
    }
    co_await WorkOnPool(aside_, std::move(work));
}
