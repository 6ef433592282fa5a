#include "platform/QtEventPump.h"

#include "platform/Failure.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// Work that can only end once the window's timers have run a few times meanwhile.
void WaitForTicks(const std::atomic<int>& ticks) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ticks < 3 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

} // namespace

TEST(QtEventPumpTest, TheWindowsTimersRunWhileWorkRunsAside) {
    for (const bool userInput : {true, false}) {
        QtEventPump pump;
        std::atomic<int> ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(1);
        int progressCalls = 0;
        pump.RunAside([&] { WaitForTicks(ticks); }, [&] { ++progressCalls; }, userInput);
        EXPECT_GE(ticks, 3);
        EXPECT_GE(progressCalls, 0);
    }
}

TEST(QtEventPumpTest, WhatTheWorkThrowsReachesTheCaller) {
    QtEventPump pump;
    EXPECT_THROW(pump.RunAside([] { throw Failure(u"Disk full"_s); }, {}, true), Failure);
}
