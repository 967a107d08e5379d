#include "sntp/ClockCorrection.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <limits>
#include <string>
#include <vector>

namespace
{
using Log = std::vector<std::string>;

CalendarRecord Utc(int year, int month, int day, int hour, int minute, int second, int ms, int dayOfWeek)
{
    const auto u16 = [](int value) { return static_cast<std::uint16_t>(value); };
    return {u16(year), u16(month), u16(dayOfWeek), u16(day), u16(hour), u16(minute), u16(second), u16(ms)};
}

// How the platform answers; by default every step succeeds. 5 is ERROR_ACCESS_DENIED.
struct Answers
{
    bool tokenOpens = true;
    std::uint32_t tokenError = 5;
    bool lookupSucceeds = true, enableSucceeds = true, setSucceeds = true;
};

class CFakeClockPlatform final : public IClockPlatform
{
public:
    CalendarRecord clock = Utc(2024, 2, 29, 12, 34, 56, 789, 4), setTo{};
    Answers answers;
    Log log;
    std::uint32_t lastError = 0;

    CalendarRecord ReadUtcClock() override { return Logged("read", clock); }
    bool OpenToken(std::uint32_t access) override
    {
        lastError = answers.tokenOpens ? lastError : answers.tokenError;
        return Logged("open-token " + std::to_string(access), answers.tokenOpens);
    }
    bool LookUpPrivilege(const wchar_t* name, PrivilegeRecord& privilege) override
    {
        privilege.luidLowPart = answers.lookupSucceeds ? 0x22 : 0;
        privilege.luidHighPart = answers.lookupSucceeds ? 7 : 0;
        return Logged("lookup " + std::string(name, name + std::wcslen(name)), answers.lookupSucceeds);
    }
    bool AdjustPrivilege(const PrivilegeRecord& p) override
    {
        return Logged("adjust " + std::to_string(p.luidHighPart) + ":" + std::to_string(p.luidLowPart) + " attributes " +
                          std::to_string(p.attributes),
                      p.attributes == 0 || answers.enableSucceeds);
    }
    bool SetUtcClock(const CalendarRecord& utc) override { return setTo = utc, Logged("set", answers.setSucceeds); }
    std::uint32_t LastError() override { return lastError; }
    void SetLastErrorCode(std::uint32_t error) override { lastError = Logged("set-error " + std::to_string(error), error); }
    template <typename T>
    T Logged(std::string entry, T answer) { return log.push_back(std::move(entry)), answer; }
};

// Token access TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY; the privilege enabled (2), then not.
const std::string kOpen = "open-token 40", kLookup = "lookup SeSystemtimePrivilege";
const std::string kEnable = "adjust 7:34 attributes 2", kDisable = "adjust 7:34 attributes 0";
} // namespace

TEST(ClockCorrection, AnHourOrMoreIsRefusedWithoutAnyCall)
{
    for (const double offset : {3600.0, -3600.0, 1e300, std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()})
    {
        CFakeClockPlatform platform;
        EXPECT_EQ(CorrectSystemClock(offset, platform), ClockCorrection::Refused) << offset;
        EXPECT_TRUE(platform.log.empty()) << offset;
    }
}

TEST(ClockCorrection, SetsTheClockAsReadPlusTheOffset)
{
    struct Case { double offset; CalendarRecord clock, expected; };
    const Case cases[] = {
        {3599.999, Utc(2024, 2, 29, 12, 0, 0, 0, 4), Utc(2024, 2, 29, 12, 59, 59, 999, 4)},
        // A negative offset moves the clock back, here over a leap day.
        {-0.5, Utc(2024, 3, 1, 0, 0, 0, 250, 5), Utc(2024, 2, 29, 23, 59, 59, 750, 4)},
        {10.0, Utc(2099, 12, 31, 23, 59, 55, 0, 4), Utc(2100, 1, 1, 0, 0, 5, 0, 5)},
        // 999 ms plus half a millisecond reaches 0.9995 s: the next second, never 1000 ms.
        {0.0005, Utc(2024, 2, 29, 12, 0, 0, 999, 4), Utc(2024, 2, 29, 12, 0, 1, 0, 4)},
        // Across the NTP era wrap.
        {1.0, Utc(2036, 2, 7, 6, 28, 15, 500, 4), Utc(2036, 2, 7, 6, 28, 16, 500, 4)},
    };
    for (const Case& c : cases)
    {
        CFakeClockPlatform platform;
        platform.clock = c.clock;
        EXPECT_EQ(CorrectSystemClock(c.offset, platform), ClockCorrection::Corrected) << c.offset;
        EXPECT_EQ(platform.log, (Log{"read", kOpen, kLookup, kEnable, "set", kDisable}));
        EXPECT_EQ(platform.setTo, c.expected) << c.offset;
    }
}

TEST(ClockCorrection, StepsInTheExactOrderAndWhatStillRunsAfterAFailure)
{
    struct Case { const char* name; Answers answers; ClockCorrection outcome; Log log; };
    const Case cases[] = {
        {"token refused", {.tokenOpens = false}, ClockCorrection::Failed, {"read", kOpen}},
        {"no privilege model", {.tokenOpens = false, .tokenError = 120}, ClockCorrection::Corrected,
         {"read", kOpen, "set-error 0", "set"}},
        {"lookup fails", {.lookupSucceeds = false}, ClockCorrection::Failed, {"read", kOpen, kLookup}},
        // The disabling call runs even when enabling failed.
        {"enable fails", {.enableSucceeds = false}, ClockCorrection::Failed,
         {"read", kOpen, kLookup, kEnable, kDisable}},
        {"clock refused", {.setSucceeds = false}, ClockCorrection::Failed,
         {"read", kOpen, kLookup, kEnable, "set", kDisable}},
    };
    for (const Case& c : cases)
    {
        CFakeClockPlatform platform;
        platform.answers = c.answers;
        EXPECT_EQ(CorrectSystemClock(0.5, platform), c.outcome) << c.name;
        EXPECT_EQ(platform.log, c.log) << c.name;
    }
}
