#pragma once

#include "platform/Task.h"

#include <QCoro/QCoroTask>

#include <exception>
#include <optional>
#include <type_traits>

namespace finish_detail {

// Runs the task to its end, keeping what it gave or threw: QCoro's waitFor would never see the
// end of a task that throws.
template <typename T>
Task<> Keeping(Task<T> task, std::optional<T>& result, std::exception_ptr& failure) {
    try {
        result.emplace(co_await task);
    } catch (...) {
        failure = std::current_exception();
    }
}

inline Task<> Keeping(Task<> task, std::exception_ptr& failure) {
    try {
        co_await task;
    } catch (...) {
        failure = std::current_exception();
    }
}

inline void WaitFor(Task<>&& kept) {
    if (!kept.isReady())
        QCoro::waitFor(std::move(kept));
}

} // namespace finish_detail

// What a procedure the test started gives back once it has ended, or what it threw: at once for a
// procedure on the scripted services, which never has to wait; otherwise the test's own event
// loop runs until it has (a test may wait so; the program never does).
template <typename T> T Finish(Task<T>&& task) {
    std::exception_ptr failure;
    if constexpr (std::is_void_v<T>) {
        finish_detail::WaitFor(finish_detail::Keeping(std::move(task), failure));
        if (failure)
            std::rethrow_exception(failure);
    } else {
        std::optional<T> result;
        finish_detail::WaitFor(finish_detail::Keeping(std::move(task), result, failure));
        if (failure)
            std::rethrow_exception(failure);
        return std::move(*result);
    }
}
