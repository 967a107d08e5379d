#include "mainwnd/Countdown.h"

// The minute marker is checked through the window's tick handler (ExitCountdownTest).
#include <gtest/gtest.h>

#include <tuple>

using namespace Countdown;

TEST(Countdown, TextCountsWholeSecondsFromTheLastSyncAndShowsNoNegativeCounts)
{
    const struct
    {
        std::uint32_t timeToExitMs;
        std::int64_t lastSync, now;
        const wchar_t* text;
    } cases[] = {
        {60000, 1000, 1000, L"Exit in 60 seconds"}, {90999, 1000, 1089, L"Exit in 1 seconds"},
        {30000, 1000, 1030, L"Exit in 0 seconds"},  {30000, 1000, 1031, L""},
        {4294967295u, 0, 0, L"Exit in 4294967 seconds"}, {60000, 1000, 1000 + 3'000'000'000ll, L""},
        {60000, 1000 + 3'000'000'000ll, 1000, L"Exit in 2147483647 seconds"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExitText(SecondsLeft(c.timeToExitMs, c.lastSync, c.now)), c.text) << c.lastSync << ", " << c.now;
}

TEST(Countdown, ClockShowsTheTwelveHourTimeBlueBeforeNoon)
{
    const struct
    {
        int hour, minute, second;
        const wchar_t* text;
        unsigned long colour;
    } cases[] = {
        {0, 0, 0, L"12:00:00 AM", Rgb(0, 0, 160)},    {9, 5, 7, L"9:05:07 AM", Rgb(0, 0, 160)},
        {11, 59, 59, L"11:59:59 AM", Rgb(0, 0, 160)}, {12, 0, 1, L"12:00:01 PM", Rgb(237, 158, 6)},
        {23, 9, 9, L"11:09:09 PM", Rgb(237, 158, 6)},
    };
    for (const auto& c : cases)
    {
        std::tm local{};
        std::tie(local.tm_hour, local.tm_min, local.tm_sec) = std::tie(c.hour, c.minute, c.second);
        EXPECT_EQ(ClockText(local), c.text);
        EXPECT_EQ(ClockColor(c.hour), c.colour) << c.hour;
    }
    EXPECT_EQ(ClockColor(-1), Rgb(0, 0, 160)) << "no local time";
}
