#include "sntp/ClockPlatform_win.h"

#include <windows.h>

static_assert(sizeof(SYSTEMTIME) == sizeof(CalendarRecord));

CNtpTimestamp CWin32ClockPlatform::ReadUtcClock()
{
    return ReadPreciseUtcClock();
}

bool CWin32ClockPlatform::OpenToken(std::uint32_t access)
{
    return ::OpenProcessToken(::GetCurrentProcess(), access, m_token.Put()) != FALSE;
}

bool CWin32ClockPlatform::LookUpPrivilege(const wchar_t* name, PrivilegeRecord& privilege)
{
    LUID luid{};
    if (!::LookupPrivilegeValueW(nullptr, name, &luid))
        return false;
    privilege.luidLowPart = luid.LowPart;
    privilege.luidHighPart = luid.HighPart;
    return true;
}

bool CWin32ClockPlatform::AdjustPrivilege(const PrivilegeRecord& privilege)
{
    TOKEN_PRIVILEGES record{};
    record.PrivilegeCount = 1;
    record.Privileges[0].Luid.LowPart = privilege.luidLowPart;
    record.Privileges[0].Luid.HighPart = privilege.luidHighPart;
    record.Privileges[0].Attributes = privilege.attributes;
    return ::AdjustTokenPrivileges(m_token.Get(), FALSE, &record, 0, nullptr, nullptr) != FALSE;
}

bool CWin32ClockPlatform::SetUtcClock(const CalendarRecord& utc)
{
    const SYSTEMTIME time{utc.year, utc.month, utc.dayOfWeek, utc.day,
                          utc.hour, utc.minute, utc.second, utc.milliseconds};
    return ::SetSystemTime(&time) != FALSE;
}

std::uint32_t CWin32ClockPlatform::LastError()
{
    return ::GetLastError();
}

void CWin32ClockPlatform::SetLastErrorCode(std::uint32_t error)
{
    ::SetLastError(error);
}

ClockCorrection CorrectSystemClock(double offsetSeconds)
{
    CWin32ClockPlatform platform;
    return CorrectSystemClock(offsetSeconds, platform);
}
