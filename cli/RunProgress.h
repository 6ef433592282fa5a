#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

// A long run's progress on standard error, rewritten in place: its pass, the share of the pass
// done and the rate. Only on a terminal: anything else that reads standard error gets nothing.
class RunProgress {
public:
    explicit RunProgress(int passes);
    ~RunProgress();
    RunProgress(const RunProgress&) = delete;
    RunProgress& operator=(const RunProgress&) = delete;

    // A new pass, of `total` bytes, or of `total` steps when not `bytes`.
    void Pass(const char* name, std::uint64_t total, bool bytes = true);
    // Takes the line away and shows nothing more, for a report that goes to the same terminal.
    void Clear();
    // `done` bytes of the pass are through.
    void At(std::uint64_t done) {
        if (shown_ && ++calls_ % kCallsBetweenLooks == 0)
            Show(done);
    }

    // The same for steps that are few and long.
    void AtStep(std::uint64_t done) {
        if (shown_)
            Show(done);
    }

private:
    static constexpr unsigned kCallsBetweenLooks = 4096;
    void Show(std::uint64_t done);

    bool shown_;
    int passes_;
    int pass_ = 0;
    const char* name_ = "";
    std::uint64_t total_ = 0;
    bool bytes_ = true;
    unsigned calls_ = 0;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastShown_;
};
