#include "app/LoadsInFlight.h"

#include "platform/Pane.h"

#include <utility>

namespace {

struct UntilWoken {
    std::vector<std::coroutine_handle<>>& waiting;
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> procedure) { waiting.push_back(procedure); }
    void await_resume() const noexcept {}
};

} // namespace

LoadsInFlight::Ticket::Ticket(LoadsInFlight& loads, Pane& pane, std::uint64_t serial)
    : loads_(loads), pane_(pane), serial_(serial) {}

LoadsInFlight::Ticket::~Ticket() {
    loads_.End(pane_);
}

bool LoadsInFlight::Ticket::Current() const {
    return loads_.panes_[&pane_].serial == serial_;
}

LoadsInFlight::Ticket LoadsInFlight::Begin(Pane& pane) {
    Slot& slot = panes_[&pane];
    ++slot.running;
    ++running_;
    pane.SetTakesEdits(false);
    return Ticket(*this, pane, ++slot.serial);
}

void LoadsInFlight::SupersedeAll() {
    for (auto& [pane, slot] : panes_)
        ++slot.serial;
}

void LoadsInFlight::End(Pane& pane) {
    Slot& slot = panes_[&pane];
    if (--slot.running == 0)
        pane.SetTakesEdits(true);
    if (--running_ > 0)
        return;
    // Woken from the window's event loop, not from inside the load that ended; through an object
    // of the window's, so that a window that is gone wakes nothing.
    for (const std::coroutine_handle<> procedure : std::exchange(waiting_, {}))
        QMetaObject::invokeMethod(
            &waker_, [procedure] { procedure.resume(); }, Qt::QueuedConnection);
}

Task<> LoadsInFlight::Settled() {
    // A load begun before the waiter's turn came is waited for too.
    while (running_ > 0)
        co_await UntilWoken{waiting_};
}
