#include "platform/QtEventPump.h"

#include "Finish.h"
#include "platform/Failure.h"

#include <QCoreApplication>
#include <QThread>
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

int LoopLevel() {
    return QThread::currentThread()->loopLevel();
}

} // namespace

// The procedure waits suspended: the window's events are handled by the one loop that was
// running already, never by a loop started inside the procedure.
TEST(QtEventPumpTest, TheWindowsTimersRunInTheOneLoopWhileWorkRunsAside) {
    QtEventPump pump;
    std::atomic<int> ticks = 0;
    int deepestLoop = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        deepestLoop = std::max(deepestLoop, LoopLevel());
    });
    timer.start(1);
    int progressCalls = 0;
    std::thread::id workThread, resumedOn;
    const auto procedure = [&]() -> Task<> {
        co_await pump.RunAside(
            [&] {
                workThread = std::this_thread::get_id();
                WaitForTicks(ticks);
            },
            [&] { ++progressCalls; });
        resumedOn = std::this_thread::get_id();
    };
    Finish(procedure()); // the test's own loop: level 1
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(deepestLoop, 1) << "no event loop was started inside the procedure";
    EXPECT_NE(workThread, std::this_thread::get_id());
    EXPECT_EQ(resumedOn, std::this_thread::get_id()) << "resumed on the window's thread";
}

TEST(QtEventPumpTest, WhatTheWorkThrowsReachesTheCaller) {
    QtEventPump pump;
    EXPECT_THROW(Finish(pump.RunAside([] { throw Failure(u"Disk full"_s); }, {})), Failure);
}

TEST(QtEventPumpTest, YieldLetsThePendingEventsThroughFirst) {
    QtEventPump pump;
    std::vector<QString> order;
    const auto procedure = [&]() -> Task<> {
        QTimer::singleShot(0, [&] { order.push_back(u"pending event"_s); });
        co_await pump.Yield();
        order.push_back(u"procedure resumed"_s);
    };
    Finish(procedure());
    EXPECT_EQ(order, (std::vector<QString>{u"pending event"_s, u"procedure resumed"_s}));
}

// Two procedures waiting at once each resume when their own work is done.
TEST(QtEventPumpTest, ProceduresWaitingAtOnceResumeInTheOrderTheirWorkEnds) {
    QtEventPump pump;
    std::atomic<bool> releaseSlow = false;
    std::vector<int> resumed;
    const auto slow = [&]() -> Task<> {
        co_await pump.RunAside(
            [&] {
                while (!releaseSlow)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            },
            {});
        resumed.push_back(1);
    };
    const auto quick = [&]() -> Task<> {
        co_await pump.RunAside([] {}, {});
        resumed.push_back(2);
        releaseSlow = true;
    };
    Task<> first = slow();
    Finish(quick());
    Finish(std::move(first));
    EXPECT_EQ(resumed, (std::vector<int>{2, 1}));
}

// A pump goes with its window (at the end of a test, say): a procedure still waiting on it must
// not run on into a window that is gone, whether it yielded or its work aside ended as the pump
// went.
TEST(QtEventPumpTest, ProceduresWaitingOnAPumpThatIsGoneAreNotResumed) {
    bool yieldedResumed = false;
    bool asideResumed = false;
    Task<> yielded;
    Task<> aside;
    {
        QtEventPump pump;
        const auto yielding = [&]() -> Task<> {
            co_await pump.Yield();
            yieldedResumed = true;
        };
        const auto workingAside = [&]() -> Task<> {
            co_await pump.RunAside(
                [] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }, {});
            asideResumed = true;
        };
        yielded = yielding();
        aside = workingAside();
    } // the pump waits for its work, whose resumption is then pending
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(yieldedResumed);
    EXPECT_FALSE(asideResumed);
}
