#include "sntp/ClockCorrection.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string_view>

namespace
{
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

// Behaves like the system: the clock can be set only while the system-time privilege
// is enabled on a token opened for adjusting (unless there is no privilege model at all),
// and an enabling that reports failure may still have changed the token.
class CFakeClockPlatform final : public IClockPlatform
{
public:
    CalendarRecord clock = Utc(2024, 2, 29, 12, 34, 56, 789, 4);
    double subMillisecond = 0.0; // what the precise clock reads beyond the calendar's millisecond
    std::optional<CalendarRecord> setTo;
    Answers answers;
    int calls = 0;
    bool adjustable = false, enabled = false, privilegeModel = true;
    std::uint32_t lastError = 0;

    CNtpTimestamp ReadUtcClock() override { return ++calls, CNtpTimestamp::FromCalendar(clock).AddSeconds(subMillisecond); }
    bool OpenToken(std::uint32_t access) override
    {
        ++calls;
        privilegeModel = answers.tokenOpens || answers.tokenError != 120; // ERROR_CALL_NOT_IMPLEMENTED
        lastError = answers.tokenOpens ? lastError : answers.tokenError;
        adjustable = answers.tokenOpens && (access & 0x20); // TOKEN_ADJUST_PRIVILEGES
        return answers.tokenOpens;
    }
    bool LookUpPrivilege(const wchar_t* name, PrivilegeRecord& privilege) override
    {
        privilege.luidLowPart = 12; // SE_SYSTEMTIME_PRIVILEGE
        return ++calls, answers.lookupSucceeds && std::wstring_view(name) == L"SeSystemtimePrivilege";
    }
    bool AdjustPrivilege(const PrivilegeRecord& p) override
    {
        ++calls;
        if (!adjustable || p.luidLowPart != 12 || p.luidHighPart != 0)
            return false;
        enabled = (p.attributes & 2) != 0; // SE_PRIVILEGE_ENABLED
        return !enabled || answers.enableSucceeds;
    }
    bool SetUtcClock(const CalendarRecord& utc) override
    {
        ++calls;
        if ((privilegeModel && !enabled) || !answers.setSucceeds)
            return false;
        return setTo = utc, true;
    }
    std::uint32_t LastError() override { return lastError; }
    void SetLastErrorCode(std::uint32_t error) override { lastError = error; }
};
} // namespace

TEST(ClockCorrection, AnHourOrMoreIsRefusedWithoutAnyCall)
{
    for (const double offset : {3600.0, -3600.0, 1e300, std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()})
    {
        CFakeClockPlatform platform;
        EXPECT_EQ(CorrectSystemClock(offset, platform), ClockCorrection::Refused) << offset;
        EXPECT_EQ(platform.calls, 0) << offset;
    }
}

TEST(ClockCorrection, SetsTheClockAsReadPlusTheOffsetAndGivesTheRightUpAgain)
{
    struct Case { double offset; CalendarRecord clock, expected; double subMillisecond = 0.0; };
    const Case cases[] = {
        // The precise clock's 0.7 ms beyond the reading and 0.2 ms of offset round up, not down.
        {0.0002, Utc(2024, 2, 29, 12, 0, 0, 100, 4), Utc(2024, 2, 29, 12, 0, 0, 101, 4), 0.0007},
        {0.0002, Utc(2024, 2, 29, 12, 0, 0, 100, 4), Utc(2024, 2, 29, 12, 0, 0, 100, 4), 0.0002},
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
        platform.subMillisecond = c.subMillisecond;
        EXPECT_EQ(CorrectSystemClock(c.offset, platform), ClockCorrection::Corrected) << c.offset;
        EXPECT_EQ(platform.setTo, c.expected) << c.offset;
        EXPECT_FALSE(platform.enabled) << c.offset;
    }
}

TEST(ClockCorrection, AFailedStepFailsAndNeverLeavesThePrivilegeEnabled)
{
    struct Case { const char* name; Answers answers; ClockCorrection outcome; };
    const Case cases[] = {
        {"token refused", {.tokenOpens = false}, ClockCorrection::Failed},
        {"no privilege model", {.tokenOpens = false, .tokenError = 120}, ClockCorrection::Corrected},
        {"lookup fails", {.lookupSucceeds = false}, ClockCorrection::Failed},
        {"enable fails", {.enableSucceeds = false}, ClockCorrection::Failed},
        {"clock refused", {.setSucceeds = false}, ClockCorrection::Failed},
    };
    for (const Case& c : cases)
    {
        CFakeClockPlatform platform;
        platform.answers = c.answers;
        EXPECT_EQ(CorrectSystemClock(0.5, platform), c.outcome) << c.name;
        EXPECT_EQ(platform.setTo.has_value(), c.outcome == ClockCorrection::Corrected) << c.name;
        EXPECT_FALSE(platform.enabled) << c.name;
    }
}
