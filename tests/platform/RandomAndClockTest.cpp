#include "platform/StdRandomGenerator.h"
#include "platform/SystemClock.h"

#include <QTime>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

std::vector<double> Draws(StdRandomGenerator& generator, int count) {
    std::vector<double> numbers;
    for (int i = 0; i < count; ++i)
        numbers.push_back(generator.Rnd());
    return numbers;
}

std::vector<double> DrawsAfterSeed(double seed, int count) {
    StdRandomGenerator generator;
    generator.Randomize(seed);
    return Draws(generator, count);
}

} // namespace

TEST(StdRandomGeneratorTest, TheSameSeedGivesTheSameNumbersAndOtherSeedsOthers) {
    EXPECT_EQ(DrawsAfterSeed(43210.5, 20), DrawsAfterSeed(43210.5, 20));
    EXPECT_NE(DrawsAfterSeed(43210.5, 20), DrawsAfterSeed(43210.25, 20))
        << "the fraction of the seconds counts";
    EXPECT_NE(DrawsAfterSeed(0.0, 20), DrawsAfterSeed(1.0, 20));
}

TEST(StdRandomGeneratorTest, NumbersStayBelowOneAndReachEveryHundredth) {
    StdRandomGenerator generator;
    generator.Randomize(3600.125);
    std::set<int> hundredths;
    for (const double r : Draws(generator, 20000)) {
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        hundredths.insert(static_cast<int>(r * 100) + 1);
    }
    EXPECT_EQ(hundredths.size(), 100u);
    EXPECT_EQ(*hundredths.begin(), 1);
    EXPECT_EQ(*hundredths.rbegin(), 100);
}

TEST(SystemClockTest, SecondsSinceMidnightFollowTheLocalTimeOfDay) {
    const int before = QTime::currentTime().msecsSinceStartOfDay();
    const double seconds = SecondsSinceMidnight();
    const int after = QTime::currentTime().msecsSinceStartOfDay();
    ASSERT_GE(seconds, 0.0);
    ASSERT_LT(seconds, 86400.0);
    if (after >= before) { // not across midnight
        EXPECT_GE(seconds, before / 1000.0);
        EXPECT_LE(seconds, after / 1000.0);
    }
}
