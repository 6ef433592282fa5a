#pragma once

#include <QTimer>

#include <algorithm>
#include <chrono>

// How long the event loop went without handling events during a stretch of work. A timer asks to
// fire every 10 ms; every firing ends a gap, and so do the start and the end of the stretch. The
// longest gap is the longest time the window could not have answered the user. An idle loop
// shows about 10 ms; work that never lets the loop run shows its whole length.
class StallMeter {
public:
    using Clock = std::chrono::steady_clock;

    StallMeter() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Mark(Clock::now()); });
    }

    void Start(Clock::time_point start) {
        longest_ = Clock::duration::zero();
        last_ = start;
        timer_.start();
    }

    // The longest gap since Start, counting the one that `end` closes.
    Clock::duration Stop(Clock::time_point end) {
        timer_.stop();
        Mark(end);
        return longest_;
    }

private:
    void Mark(Clock::time_point now) {
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    }

    QTimer timer_;
    Clock::time_point last_;
    Clock::duration longest_ = Clock::duration::zero();
};
