#include "mainwnd/Resync.h"

#include <gtest/gtest.h>

using namespace Resync;

TEST(Resync, RunsOnlyWhenNothingElseIsUnderWay)
{
    EXPECT_EQ(Decide({false, false, false, false}), Decision::Stop);
    EXPECT_EQ(Decide({false, true, true, true}), Decision::Stop);
    EXPECT_EQ(Decide({true, false, false, false}), Decision::Run);
    for (const Situation busy : {Situation{true, true, false, false}, Situation{true, false, true, false},
                                 Situation{true, false, false, true}})
        EXPECT_EQ(Decide(busy), Decision::Wait);
}

TEST(Resync, RegularDelayIsTheHoursAtLeastOneGiveOrTakeFiveMinutes)
{
    const struct { std::uint32_t hours; double spread; std::uint32_t hourMs, delayMs; } cases[] = {
        {24, 0.0, kHourMs, 24 * kHourMs},       {24, -1.0, kHourMs, 24 * kHourMs - 300'000},
        {1, 1.0, kHourMs, kHourMs + 300'000},   {0, 0.0, kHourMs, kHourMs},
        {1, 7.0, kHourMs, kHourMs + 300'000},   {1000, 0.0, kHourMs, 0x7FFFFFFF},
        {0xFFFFFFFF, 1.0, kHourMs, 0x7FFFFFFF}, {2, -1.0, 1200, 2300},
        {2, 0.5, 0, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RegularDelay(c.hours, c.spread, c.hourMs), c.delayMs) << c.hours << " h, spread " << c.spread;
    EXPECT_EQ(ResumeDelay(), 30'000u);
    EXPECT_EQ(RetryDelay(), 60'000u);
    EXPECT_EQ(RetryDelay(0), 1u);
}
