#include "platform/QtEventPump.h"

#include <QCoreApplication>
#include <QEvent>
#include <QRunnable>
#include <QTimer>

#include <atomic>
#include <coroutine>

namespace {

constexpr int kTickMs = 40;
// Loads, saves, both comparisons and their follow-ups may all be under way at once.
constexpr int kMostThreads = 16;

// Whatever a thread did before it handed work or a result to another through Qt (the pool's queue,
// the event queue) is seen by the other, Qt's locks see to that; but Qt is built without a race
// detector, which cannot see them. A release on this one counter once all that is handed over is
// written (the task or the event that carries it included), and an acquire before any of it is
// read, say the same where one can. A counter of its own: the thread that takes over must reach it
// without reading anything handed over.
std::atomic<unsigned> handOvers = 0;

void BeforeHandingOver() {
    handOvers.fetch_add(1, std::memory_order_release);
}

void AfterTakingOver() {
    handOvers.load(std::memory_order_acquire);
}

// Carries a suspended procedure to the window's thread, which resumes it among its later events
// and deletes the event: the thread that posts it never touches it again.
class ResumeEvent final : public QEvent {
public:
    explicit ResumeEvent(std::coroutine_handle<> procedure)
        : QEvent(Type()), procedure_(procedure) {}

    static QEvent::Type Type() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    void Resume() const { procedure_.resume(); }

private:
    std::coroutine_handle<> procedure_;
};

class Resumer final : public QObject {
protected:
    bool event(QEvent* event) override {
        AfterTakingOver();
        if (event->type() != ResumeEvent::Type())
            return QObject::event(event);
        static_cast<ResumeEvent*>(event)->Resume();
        return true;
    }
};

void ResumeOnWindowThread(QObject& resumer, std::coroutine_handle<> procedure) {
    auto* event = new ResumeEvent(procedure);
    BeforeHandingOver();
    QCoreApplication::postEvent(&resumer, event);
}

struct YieldToWindow {
    explicit YieldToWindow(QObject& resumeWith) : resumer(resumeWith) {}

    QObject& resumer;
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> procedure) {
        ResumeOnWindowThread(resumer, procedure);
    }
    void await_resume() const noexcept {}
};

// Suspends the procedure while the work runs on the pool; the worker posts its resumption.
struct WorkOnPool {
    WorkOnPool(QThreadPool& toRunOn, QObject& resumeWith, std::function<void()> toRun)
        : pool(toRunOn), resumer(resumeWith), work(std::move(toRun)) {}

    QThreadPool& pool;
    QObject& resumer;
    std::function<void()> work;
    std::exception_ptr failure;

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> procedure) {
        QRunnable* task = QRunnable::create([this, procedure] {
            AfterTakingOver();
            failure = RunCatching(work);
            ResumeOnWindowThread(resumer, procedure);
        });
        BeforeHandingOver();
        pool.start(task);
    }
    void await_resume() const {
        if (failure)
            std::rethrow_exception(failure);
    }
};

} // namespace

QtEventPump::QtEventPump() : resumer_(std::make_unique<Resumer>()) {
    aside_.setMaxThreadCount(kMostThreads);
}

Task<> QtEventPump::Yield() {
    co_await YieldToWindow(*resumer_);
}

Task<> QtEventPump::RunAside(std::function<void()> work, std::function<void()> tick) {
    QTimer ticker;
    if (tick) {
        QObject::connect(&ticker, &QTimer::timeout, tick);
        ticker.start(kTickMs);
    }
    co_await WorkOnPool(aside_, *resumer_, std::move(work));
}
