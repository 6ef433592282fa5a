#include "cli/RunProgress.h"

#include <unistd.h>

namespace {

constexpr auto kBetweenShows = std::chrono::milliseconds(250);

} // namespace

RunProgress::RunProgress(int passes) : shown_(isatty(STDERR_FILENO) == 1), passes_(passes) {}

RunProgress::~RunProgress() {
    Clear();
}

void RunProgress::Clear() {
    if (shown_ && pass_ > 0) {
        std::fputs("\r\x1b[K", stderr);
        std::fflush(stderr);
    }
    shown_ = false; // for good: what follows may share the terminal
}

void RunProgress::Pass(const char* name, std::uint64_t total, bool bytes) {
    ++pass_;
    name_ = name;
    total_ = total;
    bytes_ = bytes;
    started_ = lastShown_ = std::chrono::steady_clock::now();
    if (shown_)
        Show(0);
}

void RunProgress::Show(std::uint64_t done) {
    const auto now = std::chrono::steady_clock::now();
    if (done > 0 && now - lastShown_ < kBetweenShows)
        return;
    lastShown_ = now;
    const double seconds = std::chrono::duration<double>(now - started_).count();
    const double percent =
        total_ == 0 ? 100.0 : 100.0 * static_cast<double>(done) / static_cast<double>(total_);
    const double rate = seconds > 0 ? static_cast<double>(done) / seconds / 1e6 : 0.0;
    std::fprintf(stderr, "\r\x1b[Ktarnwick-cli: pass %d of %d (%s): %.0f%%", pass_, passes_, name_,
                 percent);
    if (bytes_)
        std::fprintf(stderr, ", %.0f MB/s", rate);
    std::fflush(stderr);
}
