#include "platform/QtProcessControl.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Ends the process with another status if it is ever destroyed: exit() would destroy it,
// ending at once must not.
struct FailsTheExitWhenDestroyed {
    ~FailsTheExitWhenDestroyed() { std::_Exit(3); }
};

void WriteBufferedThenEnd() {
    static FailsTheExitWhenDestroyed guard;
    static char buffer[256];
    std::setvbuf(stderr, buffer, _IOFBF, sizeof buffer);
    std::fputs("last words", stderr);
    QtProcessControl().EndProcess();
}

} // namespace

TEST(QtProcessControlDeathTest, EndsAtOnceWithStatusZeroAfterFlushingOutput) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(WriteBufferedThenEnd(), ::testing::ExitedWithCode(0), "last words");
}
