#include "sntp/NtpTimestamp.h"

#include <windows.h>

CalendarRecord ReadSystemUtcClock() noexcept
{
    SYSTEMTIME now{};
    ::GetSystemTime(&now);
    return CalendarRecord{now.wYear, now.wMonth, now.wDayOfWeek, now.wDay,
                          now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}
