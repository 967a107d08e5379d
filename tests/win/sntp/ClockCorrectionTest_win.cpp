// The clock correction's platform on the real Win32 calls (the order of the steps is the
// platform-free tests'). Wine accepts a new time within about half a second of its clock
// (changing nothing) and refuses a larger step with ERROR_PRIVILEGE_NOT_HELD.

#include "sntp/ClockPlatform_win.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(ClockPlatformWin32, ReadsTheClockGainsThePrivilegeAndSetsOnlyWhatTheSystemAccepts)
{
    CWin32ClockPlatform platform;
    SYSTEMTIME system{};
    ::GetSystemTime(&system);
    const CalendarRecord now = platform.ReadUtcClock().ToCalendar();
    EXPECT_EQ(now.dayOfWeek, system.wDayOfWeek);
    const double apart = CNtpTimestamp::Difference(
        CNtpTimestamp::FromCalendar(now),
        CNtpTimestamp::FromCalendar({system.wYear, system.wMonth, system.wDayOfWeek, system.wDay, system.wHour,
                                     system.wMinute, system.wSecond, system.wMilliseconds}));
    EXPECT_TRUE(apart >= 0.0 && apart < 1.0) << apart;

    PrivilegeRecord privilege;
    ASSERT_TRUE(platform.OpenToken(ClockRules::kTokenAccess));
    ASSERT_TRUE(platform.LookUpPrivilege(ClockRules::kSystemTimePrivilege, privilege));
    EXPECT_EQ(privilege.luidLowPart, 12u) << "SE_SYSTEMTIME_PRIVILEGE";
    EXPECT_EQ(privilege.luidHighPart, 0);
    privilege.attributes = ClockRules::kPrivilegeEnabled;
    EXPECT_TRUE(platform.AdjustPrivilege(privilege));
    EXPECT_TRUE(platform.SetUtcClock(platform.ReadUtcClock().ToCalendar()));
    const CNtpTimestamp later = platform.ReadUtcClock().AddSeconds(10.0);
    EXPECT_FALSE(platform.SetUtcClock(later.ToCalendar()));
    EXPECT_EQ(platform.LastError(), static_cast<std::uint32_t>(ERROR_PRIVILEGE_NOT_HELD)) << "refused, not malformed";
    privilege.attributes = 0;
    EXPECT_TRUE(platform.AdjustPrivilege(privilege));

    // The system's own entry point, on the same platform.
    EXPECT_EQ(CorrectSystemClock(0.0), ClockCorrection::Corrected);
    EXPECT_EQ(CorrectSystemClock(10.0), ClockCorrection::Failed);
}
