#include "host/Clock.h"

#include <gtest/gtest.h>

TEST(Clock, OverrideInstallsAManualClockAndRestoresTheDefault)
{
    host::Clock& before = host::clock();
    {
        host::ManualClock manual(std::chrono::seconds(5));
        host::ClockOverride guard(manual);
        EXPECT_EQ(&host::clock(), &manual);
        EXPECT_EQ(host::clock().nowMilliseconds(), 5000);
        manual.advanceMilliseconds(50);
        manual.advance(std::chrono::milliseconds(-10)); // never backwards
        EXPECT_EQ(host::clock().nowMilliseconds(), 5050);
    }
    EXPECT_EQ(&host::clock(), &before);
    EXPECT_EQ(host::setClock(nullptr), &before);
    auto first = host::clock().now();
    EXPECT_GE(host::clock().now(), first);
}
