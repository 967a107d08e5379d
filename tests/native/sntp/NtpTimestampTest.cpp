#include "sntp/NtpTimestamp.h"
#include "sntp/SntpPacket.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
constexpr std::uint32_t kHalfFraction = 0x80000000u;

CalendarRecord Utc(int year, int month, int day, int hour, int minute, int second, int ms, int dayOfWeek)
{
    const auto u16 = [](int value) { return static_cast<std::uint16_t>(value); };
    return {u16(year), u16(month), u16(dayOfWeek), u16(day), u16(hour), u16(minute), u16(second), u16(ms)};
}
} // namespace

TEST(MillisecondFractionTable, HoldsTheNearestFractionOfEveryMillisecond)
{
    EXPECT_EQ(MillisecondFractionTable[0], 0u);
    EXPECT_EQ(MillisecondFractionTable[1], 0x00418937u);
    EXPECT_EQ(MillisecondFractionTable[2], 0x0083126Fu);
    EXPECT_EQ(MillisecondFractionTable[500], 0x80000000u);
    EXPECT_EQ(MillisecondFractionTable[999], 0xFFBE76C9u);
    for (std::uint64_t n = 0; n < 1000; ++n)
    {
        const std::uint64_t exact = n << 32; // n * 2^32, to be divided by 1000
        const std::uint64_t scaled = std::uint64_t{MillisecondFractionTable[n]} * 1000;
        EXPECT_LT(scaled > exact ? scaled - exact : exact - scaled, 500u) << "entry " << n;
    }
}

// Both ways where the fraction is a table entry; fractions between entries
// round to the nearest millisecond, and 0.9995 s and above carry.
TEST(NtpTimestamp, CalendarConversionAcrossBothEras)
{
    struct Case
    {
        std::uint32_t seconds;
        std::uint32_t fraction;
        CalendarRecord utc;
    };
    const Case cases[] = {
        // The era boundary: seconds 0 is the first instant of era 1, a Thursday.
        {0x00000000u, 0, Utc(2036, 2, 7, 6, 28, 16, 0, 4)},
        {0xFFFFFFFFu, kHalfFraction, Utc(2036, 2, 7, 6, 28, 15, 500, 4)},
        {0x00000001u, kHalfFraction, Utc(2036, 2, 7, 6, 28, 17, 500, 4)},
        // The oldest and newest instants of the rule.
        {0x80000000u, 0, Utc(1968, 1, 20, 3, 14, 8, 0, 6)},
        {0x7FFFFFFFu, 0, Utc(2104, 2, 26, 9, 42, 23, 0, 2)},
        {0xBC17C200u, 0x00418937u, Utc(2000, 1, 1, 0, 0, 0, 1, 6)},
        // A leap day, and 2100, which is no leap year.
        {3918198896u, MillisecondFractionTable[789], Utc(2024, 2, 29, 12, 34, 56, 789, 4)},
        {2021563904u, 0, Utc(2100, 3, 1, 0, 0, 0, 0, 1)},
        {0xBC17C200u, 0xFFDF3B63u, Utc(2000, 1, 1, 0, 0, 0, 999, 6)},
        {0xBC17C200u, 0xFFDF3B64u, Utc(2000, 1, 1, 0, 0, 1, 0, 6)},
        {0xBC17C1FFu, 0xFFFFFFFFu, Utc(2000, 1, 1, 0, 0, 0, 0, 6)},
        {0xFFFFFFFFu, 0xFFFFFFFFu, Utc(2036, 2, 7, 6, 28, 16, 0, 4)},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(CNtpTimestamp(c.seconds, c.fraction).ToCalendar(), c.utc) << std::hex << c.seconds;
        if (c.fraction == MillisecondFractionTable[c.utc.milliseconds])
        {
            EXPECT_EQ(CNtpTimestamp::FromCalendar(c.utc), CNtpTimestamp(c.seconds, c.fraction)) << std::hex << c.seconds;
        }
    }
}

TEST(NtpTimestamp, CalendarRoundTripKeepsEveryMillisecond)
{
    const CalendarRecord instants[] = {
        Utc(1968, 2, 29, 23, 59, 59, 0, 4), Utc(1999, 12, 31, 23, 59, 59, 0, 5), Utc(2036, 2, 7, 6, 28, 15, 0, 4),
        Utc(2036, 2, 7, 6, 28, 16, 0, 4),   Utc(2104, 2, 26, 9, 42, 22, 0, 2),
    };
    for (CalendarRecord instant : instants)
    {
        for (std::uint16_t ms = 0; ms < 1000; ++ms)
        {
            instant.milliseconds = ms;
            ASSERT_EQ(CNtpTimestamp::FromCalendar(instant).ToCalendar(), instant) << instant.year << " " << ms;
        }
    }
}

TEST(NtpTimestamp, DifferenceIsSignedAndTheRealDistanceAcrossTheEraWrap)
{
    const double half = 2147483648.0 / 4294967295.0; // the fraction is divided by 2^32 - 1
    EXPECT_DOUBLE_EQ(CNtpTimestamp::Difference(CNtpTimestamp(1000, kHalfFraction), CNtpTimestamp(990, 0)), 10.0 + half);
    EXPECT_DOUBLE_EQ(CNtpTimestamp::Difference(CNtpTimestamp(990, 0), CNtpTimestamp(1000, kHalfFraction)), -10.0 - half);
    // 2036-02-07 06:28:11 and 06:28:21.
    EXPECT_DOUBLE_EQ(CNtpTimestamp::Difference(CNtpTimestamp(5, 0), CNtpTimestamp(0xFFFFFFFBu, 0)), 10.0);
    EXPECT_DOUBLE_EQ(CNtpTimestamp::Difference(CNtpTimestamp(0xFFFFFFFBu, 0), CNtpTimestamp(5, 0)), -10.0);
}

TEST(NtpTimestamp, AddSecondsMovesBothWaysAndWrapsTheEra)
{
    struct Case
    {
        CNtpTimestamp from;
        double seconds;
        CNtpTimestamp expected;
    };
    const Case cases[] = {
        {CNtpTimestamp(100, 0), 1.0, CNtpTimestamp(101, 0)},
        // The fraction is scaled by 2^32 - 1 and truncated.
        {CNtpTimestamp(100, 0), 0.5, CNtpTimestamp(100, 0x7FFFFFFFu)},
        {CNtpTimestamp(100, 0), -1.5, CNtpTimestamp(98, 0x80000001u)},
        {CNtpTimestamp(0xFFFFFFFFu, 0), 2.0, CNtpTimestamp(1, 0)},
        {CNtpTimestamp(1, 0), -2.0, CNtpTimestamp(0xFFFFFFFFu, 0)},
        // Whole seconds are taken modulo 2^32.
        {CNtpTimestamp(100, 0), 4294967296.0 + 3.0, CNtpTimestamp(103, 0)},
        {CNtpTimestamp(100, 0), std::numeric_limits<double>::quiet_NaN(), CNtpTimestamp(100, 0)},
        {CNtpTimestamp(100, 0), std::numeric_limits<double>::infinity(), CNtpTimestamp(100, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.from.AddSeconds(c.seconds), c.expected) << c.seconds;
}

TEST(SntpArithmetic, DelayAndOffsetOfTheWorkedExampleAndAcrossTheEraWrap)
{
    const auto at = [](double s) { return CNtpTimestamp().AddSeconds(s); };
    struct Case
    {
        CNtpTimestamp t1, t2, t3, t4;
        double delay;
        double offset;
    };
    const Case cases[] = {
        {at(100.0), at(101.0), at(101.5), at(100.7), 0.2, 0.9},
        // The client sends just before the wrap, the server answers after it:
        // ((0.5 - -1.0) + (0.5 - -0.5)) / 2.
        {CNtpTimestamp(0xFFFFFFFFu, 0), CNtpTimestamp(0, kHalfFraction), CNtpTimestamp(0, kHalfFraction),
         CNtpTimestamp(0xFFFFFFFFu, kHalfFraction), 0.5, 1.25},
    };
    for (const Case& c : cases)
    {
        SntpResult result;
        result.originateStamp = c.t1;
        result.receiveStamp = c.t2;
        result.transmitStamp = c.t3;
        result.destinationStamp = c.t4;
        Sntp::ComputeDelayAndOffset(result);
        EXPECT_NEAR(result.roundTripDelay, c.delay, 1e-9);
        EXPECT_NEAR(result.localClockOffset, c.offset, 1e-9);
    }
}
