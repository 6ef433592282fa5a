#pragma once

#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>

#ifdef TARNWICK_HAVE_SECCOMP
#include <seccomp.h>
#endif

namespace failing_sync_detail {

// Why the calling thread could not be made to fail every fsync and fdatasync with EIO, or
// nothing once it does.
inline std::optional<std::string> FailSyncOnThisThread() {
#ifdef TARNWICK_HAVE_SECCOMP
    // Only this thread is filtered: the filter is not synchronised to the process's others.
    const scmp_filter_ctx filter = seccomp_init(SCMP_ACT_ALLOW);
    if (filter == nullptr)
        return "seccomp_init failed";
    int result = seccomp_rule_add(filter, SCMP_ACT_ERRNO(EIO), SCMP_SYS(fsync), 0);
    if (result == 0)
        result = seccomp_rule_add(filter, SCMP_ACT_ERRNO(EIO), SCMP_SYS(fdatasync), 0);
    if (result == 0)
        result = seccomp_load(filter);
    seccomp_release(filter);
    if (result != 0)
        return std::string("a seccomp filter was refused: ") + std::strerror(-result);
    // The filter answers before the descriptor is looked at; without it this is EBADF.
    if (::fsync(-1) == 0 || errno != EIO)
        return "the seccomp filter does not act";
    return std::nullopt;
#else
    return "built without libseccomp";
#endif
}

} // namespace failing_sync_detail

// Runs `work` where every fsync and fdatasync fails with EIO, as on a disk that cannot keep what
// was written: on a thread of its own that ends with `work`, so that neither the rest of the test
// nor anything outside it is touched. Returns why that could not be arranged (skip the test), or
// nothing once `work` has run.
inline std::optional<std::string> RunWhereSyncFails(const std::function<void()>& work) {
    std::optional<std::string> refusal;
    std::thread thread([&] {
        refusal = failing_sync_detail::FailSyncOnThisThread();
        if (!refusal)
            work();
    });
    thread.join();
    return refusal;
}
