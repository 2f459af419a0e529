#include "host/Kdr_FunctionTimer.h"

#include <gtest/gtest.h>

TEST(Kdr_Timer, ATimerThatDoesNotMeasureOnlyCounts)
{
    host::ManualClock clock;
    host::ClockOverride guard(clock);
    Kdr_Timer timer("gCalcCells", false);
    EXPECT_FALSE(timer.measuring());
    {
        Kdr_FunctionTimer scoped(timer);
        clock.advanceMilliseconds(100);
    }
    EXPECT_EQ(timer.count(), 1);
    EXPECT_EQ(timer.total(), host::Clock::Duration::zero());
    EXPECT_EQ(timer.report(), "gCalcCells: 0.000000 s in 1 call");

    // An interval started unmeasured adds no time when measuring begins before it ends.
    timer.start();
    timer.setMeasuring(true);
    clock.advanceMilliseconds(100);
    timer.end();
    EXPECT_EQ(timer.total(), host::Clock::Duration::zero());
    {
        Kdr_FunctionTimer scoped(timer);
        clock.advanceMilliseconds(30);
    }
    EXPECT_EQ(timer.total(), std::chrono::milliseconds(30));
    // Nor does one that measuring stopped in the middle of.
    timer.start();
    timer.setMeasuring(false);
    clock.advanceMilliseconds(100);
    timer.end();
    EXPECT_EQ(timer.total(), std::chrono::milliseconds(30));
    EXPECT_EQ(timer.count(), 4);
}
