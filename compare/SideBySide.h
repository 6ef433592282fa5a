#pragma once

#include <future>
#include <type_traits>
#include <utility>

namespace compare {

// work(0) on the calling thread and work(1) on a thread of its own, at the same time: the two
// texts of a comparison, or its two directions. What the second throws reaches the caller, once
// the first is done.
template <typename Work> auto SideBySide(Work&& work) {
    using Result = std::invoke_result_t<Work&, int>;
    auto second = std::async(std::launch::async, [&] { return work(1); });
    if constexpr (std::is_void_v<Result>) {
        work(0);
        second.get();
    } else {
        Result first = work(0);
        return std::pair<Result, Result>(std::move(first), second.get());
    }
}

} // namespace compare
