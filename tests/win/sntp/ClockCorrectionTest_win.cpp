// The clock correction on the real Win32 calls. Wine accepts a new time
// within about half a second of its clock (changing nothing) and refuses a
// larger step with ERROR_PRIVILEGE_NOT_HELD, so both outcomes are real here.

#include "sntp/ClockPlatform_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{
using Log = std::vector<std::string>;

// The real platform, with every call recorded.
class CRecordingWin32Platform final : public IClockPlatform
{
public:
    Log log;
    std::uint32_t errorAfterSet = 0;
    PrivilegeRecord lookedUp;

    CalendarRecord ReadUtcClock() override
    {
        log.push_back("read");
        return m_real.ReadUtcClock();
    }
    bool OpenToken(std::uint32_t access) override
    {
        log.push_back("open-token " + std::to_string(access));
        return m_real.OpenToken(access);
    }
    bool LookUpPrivilege(const wchar_t* name, PrivilegeRecord& privilege) override
    {
        log.push_back("lookup");
        const bool found = m_real.LookUpPrivilege(name, privilege);
        lookedUp = privilege;
        return found;
    }
    bool AdjustPrivilege(const PrivilegeRecord& privilege) override
    {
        log.push_back("adjust " + std::to_string(privilege.attributes));
        return m_real.AdjustPrivilege(privilege);
    }
    bool SetUtcClock(const CalendarRecord& utc) override
    {
        const bool set = m_real.SetUtcClock(utc);
        errorAfterSet = set ? 0 : m_real.LastError();
        log.push_back(set ? "set" : "set refused");
        return set;
    }
    std::uint32_t LastError() override { return m_real.LastError(); }
    void SetLastErrorCode(std::uint32_t error) override
    {
        log.push_back("set-error " + std::to_string(error));
        m_real.SetLastErrorCode(error);
    }

private:
    CWin32ClockPlatform m_real;
};
} // namespace

TEST(ClockCorrectionWin32, ZeroOffsetIsCorrected)
{
    CRecordingWin32Platform platform;
    EXPECT_EQ(CorrectSystemClock(0.0, platform), ClockCorrection::Corrected);
    EXPECT_EQ(platform.log, (Log{"read", "open-token 40", "lookup", "adjust 2", "set", "adjust 0"}));
    // SE_SYSTEMTIME_PRIVILEGE
    EXPECT_EQ(platform.lookedUp.luidLowPart, 12u);
    EXPECT_EQ(platform.lookedUp.luidHighPart, 0);
}

TEST(ClockCorrectionWin32, TenSecondsAheadFailsAndStillDisablesThePrivilege)
{
    CRecordingWin32Platform platform;
    EXPECT_EQ(CorrectSystemClock(10.0, platform), ClockCorrection::Failed);
    EXPECT_EQ(platform.log, (Log{"read", "open-token 40", "lookup", "adjust 2", "set refused", "adjust 0"}));
    EXPECT_EQ(platform.errorAfterSet, static_cast<std::uint32_t>(ERROR_PRIVILEGE_NOT_HELD));
}

TEST(ClockCorrectionWin32, SystemEntryPointReachesTheRealClock)
{
    EXPECT_EQ(CorrectSystemClock(0.0), ClockCorrection::Corrected);
    EXPECT_EQ(CorrectSystemClock(10.0), ClockCorrection::Failed);
}

TEST(SystemClockWin32, NowFollowsGetSystemTime)
{
    SYSTEMTIME before{};
    ::GetSystemTime(&before);
    const CalendarRecord now = ReadSystemUtcClock();
    EXPECT_EQ(now.year, before.wYear);
    EXPECT_EQ(now.month, before.wMonth);
    EXPECT_EQ(now.dayOfWeek, before.wDayOfWeek);
    EXPECT_EQ(now.day, before.wDay);
    const CalendarRecord sameFields{before.wYear, before.wMonth, before.wDayOfWeek, before.wDay,
                                    before.wHour, before.wMinute, before.wSecond, before.wMilliseconds};
    const double apart = CNtpTimestamp::Difference(CNtpTimestamp::FromCalendar(now),
                                                   CNtpTimestamp::FromCalendar(sameFields));
    EXPECT_GE(apart, 0.0);
    EXPECT_LT(apart, 1.0);
}
