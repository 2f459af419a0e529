#include "host/Kdr_FunctionTimer.h"

#include <gtest/gtest.h>

TEST(Kdr_Timer, AccumulatesOutermostIntervalsOnTheInjectedClock)
{
    host::ManualClock clock;
    host::ClockOverride guard(clock);
    Kdr_Timer timer("gLoadFile");
    timer.end(); // without a start: ignored
    timer.start();
    clock.advanceMilliseconds(100);
    {
        Kdr_FunctionTimer nested(timer); // a child evaluation inside the parent's interval
        clock.advanceMilliseconds(50);
    }
    EXPECT_TRUE(timer.isRunning());
    clock.advanceMilliseconds(100);
    timer.end();
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(timer.count(), 1);
    EXPECT_EQ(timer.total(), std::chrono::milliseconds(250));

    {
        Kdr_FunctionTimer scoped(timer);
        clock.advanceMilliseconds(250);
    }
    EXPECT_EQ(timer.count(), 2);
    EXPECT_DOUBLE_EQ(timer.seconds(), 0.5);
    EXPECT_EQ(timer.report(), "gLoadFile: 0.500000 s in 2 calls");
    timer.start();
    timer.reset();
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(timer.count(), 0);
    EXPECT_EQ(timer.total(), host::Clock::Duration::zero());
}
