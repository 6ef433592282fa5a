#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Runs `overrun` on its own thread unless destroyed within `limit`.
class Watchdog {
public:
    Watchdog(std::chrono::seconds limit, std::function<void()> overrun)
        : thread_([this, limit, overrun = std::move(overrun)] {
              std::unique_lock lock(mutex_);
              if (!stopped_.wait_for(lock, limit, [this] { return stop_; }))
                  overrun();
          }) {}

    ~Watchdog() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        stopped_.notify_one();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stop_ = false;
    std::thread thread_; // last: it starts watching once the rest is in place
};
