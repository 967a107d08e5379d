#include "sntp/NtpTimestamp.h"
#include "sntp/SntpPacket.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
constexpr std::uint32_t kHalfFraction = 0x80000000u;

CalendarRecord Utc(int year, int month, int day, int hour, int minute, int second, int ms, int dayOfWeek)
{
    CalendarRecord r;
    r.year = static_cast<std::uint16_t>(year);
    r.month = static_cast<std::uint16_t>(month);
    r.dayOfWeek = static_cast<std::uint16_t>(dayOfWeek);
    r.day = static_cast<std::uint16_t>(day);
    r.hour = static_cast<std::uint16_t>(hour);
    r.minute = static_cast<std::uint16_t>(minute);
    r.second = static_cast<std::uint16_t>(second);
    r.milliseconds = static_cast<std::uint16_t>(ms);
    return r;
}

CNtpTimestamp Seconds(double s)
{
    return CNtpTimestamp().AddSeconds(s);
}
} // namespace

TEST(MillisecondFractionTable, HoldsTheStatedEntries)
{
    EXPECT_EQ(MillisecondFractionTable[0], 0u);
    EXPECT_EQ(MillisecondFractionTable[1], 4294967u);
    EXPECT_EQ(MillisecondFractionTable[1], 0x00418937u);
    EXPECT_EQ(MillisecondFractionTable[2], 0x0083126Fu);
    EXPECT_EQ(MillisecondFractionTable[500], 0x80000000u);
    EXPECT_EQ(MillisecondFractionTable[999], 0xFFBE76C9u);
}

TEST(MillisecondFractionTable, EveryEntryIsTheNearestFraction)
{
    for (std::uint64_t n = 0; n < 1000; ++n)
    {
        const std::uint64_t exact = n << 32; // n * 2^32, to be divided by 1000
        const std::uint64_t scaled = std::uint64_t{MillisecondFractionTable[n]} * 1000;
        const std::uint64_t error = scaled > exact ? scaled - exact : exact - scaled;
        EXPECT_LT(error, 500u) << "entry " << n;
    }
}

TEST(NtpTimestamp, ToCalendarAcrossBothEras)
{
    struct Case
    {
        std::uint32_t seconds;
        std::uint32_t fraction;
        CalendarRecord expected;
    };
    const Case cases[] = {
        // The era boundary: seconds 0 is the first instant of era 1, a Thursday.
        {0x00000000u, 0, Utc(2036, 2, 7, 6, 28, 16, 0, 4)},
        {0xFFFFFFFFu, 0, Utc(2036, 2, 7, 6, 28, 15, 0, 4)},
        {0x00000001u, kHalfFraction, Utc(2036, 2, 7, 6, 28, 17, 500, 4)},
        // The oldest and newest instants of the rule.
        {0x80000000u, 0, Utc(1968, 1, 20, 3, 14, 8, 0, 6)},
        {0x7FFFFFFFu, 0, Utc(2104, 2, 26, 9, 42, 23, 0, 2)},
        {0xBC17C200u, 0, Utc(2000, 1, 1, 0, 0, 0, 0, 6)},
        // 2024-02-29 12:34:56, a leap day.
        {3918198896u, MillisecondFractionTable[789], Utc(2024, 2, 29, 12, 34, 56, 789, 4)},
        // 2100 is no leap year: 2100-02-28 + 1 day.
        {2021563904u, 0, Utc(2100, 3, 1, 0, 0, 0, 0, 1)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CNtpTimestamp(c.seconds, c.fraction).ToCalendar(), c.expected) << std::hex << c.seconds;
}

TEST(NtpTimestamp, FractionsRoundToTheNearestMillisecondAndCarry)
{
    struct Case
    {
        CNtpTimestamp time;
        CalendarRecord expected;
    };
    const Case cases[] = {
        {CNtpTimestamp(0xBC17C200u, kHalfFraction), Utc(2000, 1, 1, 0, 0, 0, 500, 6)},
        {CNtpTimestamp(0xBC17C200u, 0xFFDF3B63u), Utc(2000, 1, 1, 0, 0, 0, 999, 6)},
        // 0.9995 s and above carry into the next second.
        {CNtpTimestamp(0xBC17C200u, 0xFFDF3B64u), Utc(2000, 1, 1, 0, 0, 1, 0, 6)},
        {CNtpTimestamp(0xBC17C1FFu, 0xFFFFFFFFu), Utc(2000, 1, 1, 0, 0, 0, 0, 6)},
        // ... also out of the last second of era 0.
        {CNtpTimestamp(0xFFFFFFFFu, 0xFFFFFFFFu), Utc(2036, 2, 7, 6, 28, 16, 0, 4)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.time.ToCalendar(), c.expected) << std::hex << c.time.Value();
}

TEST(NtpTimestamp, FromCalendarKeepsSecondsModuloTheEra)
{
    EXPECT_EQ(CNtpTimestamp::FromCalendar(Utc(2036, 2, 7, 6, 28, 16, 0, 4)), CNtpTimestamp(0, 0));
    EXPECT_EQ(CNtpTimestamp::FromCalendar(Utc(2036, 2, 7, 6, 28, 15, 500, 4)), CNtpTimestamp(0xFFFFFFFFu, kHalfFraction));
    EXPECT_EQ(CNtpTimestamp::FromCalendar(Utc(1968, 1, 20, 3, 14, 8, 0, 6)), CNtpTimestamp(0x80000000u, 0));
    EXPECT_EQ(CNtpTimestamp::FromCalendar(Utc(2000, 1, 1, 0, 0, 0, 1, 6)),
              CNtpTimestamp(0xBC17C200u, 0x00418937u));
}

TEST(NtpTimestamp, CalendarRoundTripKeepsEveryMillisecond)
{
    const CalendarRecord instants[] = {
        Utc(1968, 2, 29, 23, 59, 59, 0, 4), Utc(1999, 12, 31, 23, 59, 59, 0, 5), Utc(2024, 2, 29, 12, 34, 56, 0, 4),
        Utc(2036, 2, 7, 6, 28, 15, 0, 4),   Utc(2036, 2, 7, 6, 28, 16, 0, 4),    Utc(2099, 12, 31, 0, 0, 0, 0, 4),
        Utc(2104, 2, 26, 9, 42, 22, 0, 2),
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

TEST(NtpTimestamp, DifferenceIsSignedAndDividesTheFractionBy2Pow32Minus1)
{
    const CNtpTimestamp a(1000, kHalfFraction);
    const CNtpTimestamp b(990, 0);
    const double half = 2147483648.0 / 4294967295.0;
    EXPECT_DOUBLE_EQ(CNtpTimestamp::Difference(a, b), 10.0 + half);
    EXPECT_DOUBLE_EQ(CNtpTimestamp::Difference(b, a), -(10.0 + half));
    EXPECT_GT(half, 0.5);
    EXPECT_EQ(CNtpTimestamp::Difference(a, a), 0.0);
}

TEST(NtpTimestamp, DifferenceAcrossTheEraWrapIsTheRealDistance)
{
    const CNtpTimestamp beforeWrap(0xFFFFFFFBu, 0); // 2036-02-07 06:28:11
    const CNtpTimestamp afterWrap(5, 0);            // 2036-02-07 06:28:21
    EXPECT_DOUBLE_EQ(CNtpTimestamp::Difference(afterWrap, beforeWrap), 10.0);
    EXPECT_DOUBLE_EQ(CNtpTimestamp::Difference(beforeWrap, afterWrap), -10.0);
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
        {CNtpTimestamp(100, 0), 0.0, CNtpTimestamp(100, 0)},
        {CNtpTimestamp(100, 0), 1.0, CNtpTimestamp(101, 0)},
        // The fraction is scaled by 2^32 - 1 and truncated.
        {CNtpTimestamp(100, 0), 0.5, CNtpTimestamp(100, 0x7FFFFFFFu)},
        {CNtpTimestamp(100, 0), -1.5, CNtpTimestamp(98, 0x80000001u)},
        {CNtpTimestamp(0xFFFFFFFFu, 0), 2.0, CNtpTimestamp(1, 0)},
        {CNtpTimestamp(1, 0), -2.0, CNtpTimestamp(0xFFFFFFFFu, 0)},
        {CNtpTimestamp(100, 0), 7200.0, CNtpTimestamp(7300, 0)},
        // Whole seconds are taken modulo 2^32.
        {CNtpTimestamp(100, 0), 4294967296.0 + 3.0, CNtpTimestamp(103, 0)},
        {CNtpTimestamp(100, 0), std::numeric_limits<double>::quiet_NaN(), CNtpTimestamp(100, 0)},
        {CNtpTimestamp(100, 0), std::numeric_limits<double>::infinity(), CNtpTimestamp(100, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.from.AddSeconds(c.seconds), c.expected) << c.seconds;
}

TEST(NtpTimestamp, AddSecondsThenDifferenceGivesTheOffsetBack)
{
    const CNtpTimestamp start(0xEC000000u, 0x12345678u);
    for (const double s : {0.001, -0.001, 0.9, -0.9, 10.0, -7200.25, 3599.999})
        EXPECT_NEAR(CNtpTimestamp::Difference(start.AddSeconds(s), start), s, 1e-9) << s;
}

TEST(NtpTimestamp, NowIsTheSystemClockToTheMillisecond)
{
    const CNtpTimestamp now = CNtpTimestamp::Now();
    const CalendarRecord utc = now.ToCalendar();
    EXPECT_GE(utc.year, 2024);
    EXPECT_LT(utc.year, 2104);
    // The fraction is one of the table's entries.
    EXPECT_EQ(now.Fraction(), MillisecondFractionTable[utc.milliseconds]);
    EXPECT_LT(std::fabs(CNtpTimestamp::Difference(CNtpTimestamp::Now(), now)), 1.0);
}

TEST(SntpArithmetic, WorkedExampleGivesDelayAndOffset)
{
    SntpResult result;
    result.originateStamp = Seconds(100.0);
    result.receiveStamp = Seconds(101.0);
    result.transmitStamp = Seconds(101.5);
    result.destinationStamp = Seconds(100.7);
    Sntp::ComputeDelayAndOffset(result);
    EXPECT_NEAR(result.roundTripDelay, 0.2, 1e-9);
    EXPECT_NEAR(result.localClockOffset, 0.9, 1e-9);
}

TEST(SntpArithmetic, ExchangeAcrossTheEraWrap)
{
    // The client sends just before the wrap, the server answers after it.
    SntpResult result;
    result.originateStamp = CNtpTimestamp(0xFFFFFFFFu, 0);
    result.receiveStamp = CNtpTimestamp(0, kHalfFraction);
    result.transmitStamp = CNtpTimestamp(0, kHalfFraction);
    result.destinationStamp = CNtpTimestamp(0xFFFFFFFFu, kHalfFraction);
    Sntp::ComputeDelayAndOffset(result);
    EXPECT_NEAR(result.roundTripDelay, 0.5, 1e-9);
    // ((0.5 - -1.0) + (0.5 - -0.5)) / 2 around the wrap.
    EXPECT_NEAR(result.localClockOffset, 1.25, 1e-9);
}
