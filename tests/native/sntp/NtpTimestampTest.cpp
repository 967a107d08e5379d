#include "sntp/NtpTimestamp.h"
#include "sntp/SntpPacket.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
constexpr std::uint32_t kHalf = 0x80000000u;

CalendarRecord Utc(int year, int month, int day, int hour, int minute, int second, int ms, int dayOfWeek)
{
    const auto u16 = [](int value) { return static_cast<std::uint16_t>(value); };
    return {u16(year), u16(month), u16(dayOfWeek), u16(day), u16(hour), u16(minute), u16(second), u16(ms)};
}
} // namespace

TEST(MillisecondFractionTable, HoldsTheNearestFractionOfEveryMillisecond)
{
    EXPECT_EQ(MillisecondFractionTable[500], kHalf);
    for (std::uint64_t n = 0; n < 1000; ++n)
    {
        // Both n * 2^32, within half of 1000.
        const std::uint64_t exact = n << 32, scaled = std::uint64_t{MillisecondFractionTable[n]} * 1000;
        EXPECT_LT(scaled > exact ? scaled - exact : exact - scaled, 500u) << "entry " << n;
    }
}

// Both ways where the fraction is a table entry; fractions between entries
// round to the nearest millisecond, and 0.9995 s and above carry.
TEST(NtpTimestamp, CalendarConversionAcrossBothEras)
{
    struct Case { std::uint32_t seconds, fraction; CalendarRecord utc; };
    const Case cases[] = {
        // The era boundary: seconds 0 is the first instant of era 1, a Thursday.
        {0x00000000u, 0, Utc(2036, 2, 7, 6, 28, 16, 0, 4)},
        {0xFFFFFFFFu, kHalf, Utc(2036, 2, 7, 6, 28, 15, 500, 4)},
        // The oldest and newest instants of the rule.
        {0x80000000u, 0, Utc(1968, 1, 20, 3, 14, 8, 0, 6)},
        {0x7FFFFFFFu, 0, Utc(2104, 2, 26, 9, 42, 23, 0, 2)},
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
        SCOPED_TRACE(testing::Message() << std::hex << c.seconds << " " << c.fraction);
        EXPECT_EQ(CNtpTimestamp(c.seconds, c.fraction).ToCalendar(), c.utc);
        EXPECT_TRUE(c.fraction != MillisecondFractionTable[c.utc.milliseconds] ||
                    CNtpTimestamp::FromCalendar(c.utc) == CNtpTimestamp(c.seconds, c.fraction))
            << "back from the calendar";
    }
}

TEST(NtpTimestamp, CalendarRoundTripKeepsEveryMillisecond)
{
    for (CalendarRecord instant : {Utc(1968, 2, 29, 23, 59, 59, 0, 4), Utc(2036, 2, 7, 6, 28, 15, 0, 4),
                                   Utc(2104, 2, 26, 9, 42, 22, 0, 2)})
        for (instant.milliseconds = 0; instant.milliseconds < 1000; ++instant.milliseconds)
            ASSERT_EQ(CNtpTimestamp::FromCalendar(instant).ToCalendar(), instant) << instant.year;
}

TEST(NtpTimestamp, DifferenceIsSignedAndTheRealDistanceAcrossTheEraWrap)
{
    const double half = 2147483648.0 / 4294967295.0; // the fraction is divided by 2^32 - 1
    EXPECT_DOUBLE_EQ(CNtpTimestamp::Difference(CNtpTimestamp(1000, kHalf), CNtpTimestamp(990, 0)), 10.0 + half);
    // 2036-02-07 06:28:11 and 06:28:21.
    EXPECT_DOUBLE_EQ(CNtpTimestamp::Difference(CNtpTimestamp(0xFFFFFFFBu, 0), CNtpTimestamp(5, 0)), -10.0);
}

TEST(NtpTimestamp, AddSecondsMovesBothWaysAndWrapsTheEra)
{
    struct Case { std::uint32_t from; double seconds; CNtpTimestamp expected; };
    const Case cases[] = {
        // The fraction is scaled by 2^32 - 1 and truncated.
        {100, 0.5, CNtpTimestamp(100, 0x7FFFFFFFu)}, {100, -1.5, CNtpTimestamp(98, 0x80000001u)},
        {0xFFFFFFFFu, 2.0, CNtpTimestamp(1, 0)}, {1, -2.0, CNtpTimestamp(0xFFFFFFFFu, 0)},
        // Whole seconds are taken modulo 2^32; what is not finite changes nothing.
        {100, 4294967296.0 + 3.0, CNtpTimestamp(103, 0)},
        {100, std::numeric_limits<double>::quiet_NaN(), {100, 0}}, {100, std::numeric_limits<double>::infinity(), {100, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CNtpTimestamp(c.from, 0).AddSeconds(c.seconds), c.expected) << c.from << " + " << c.seconds;
}

TEST(SntpArithmetic, DelayAndOffsetOfTheWorkedExampleAndAcrossTheEraWrap)
{
    const auto at = [](double s) { return CNtpTimestamp().AddSeconds(s); };
    struct Case { CNtpTimestamp t1, t2, t3, t4; double delay, offset; };
    const Case cases[] = {
        {at(100.0), at(101.0), at(101.5), at(100.7), 0.2, 0.9},
        // The client sends just before the wrap, the server answers after it:
        // ((0.5 - -1.0) + (0.5 - -0.5)) / 2.
        {CNtpTimestamp(0xFFFFFFFFu, 0), CNtpTimestamp(0, kHalf), CNtpTimestamp(0, kHalf),
         CNtpTimestamp(0xFFFFFFFFu, kHalf), 0.5, 1.25},
    };
    for (const Case& c : cases)
    {
        SntpResult result{.originateStamp = c.t1, .receiveStamp = c.t2, .transmitStamp = c.t3, .destinationStamp = c.t4};
        Sntp::ComputeDelayAndOffset(result);
        EXPECT_NEAR(result.roundTripDelay, c.delay, 1e-9);
        EXPECT_NEAR(result.localClockOffset, c.offset, 1e-9);
    }
}
