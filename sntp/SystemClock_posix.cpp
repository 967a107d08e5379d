#include "sntp/NtpTimestamp.h"

#include <ctime>

CalendarRecord ReadSystemUtcClock() noexcept
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::tm utc{};
    ::gmtime_r(&now.tv_sec, &utc);
    return CalendarRecord{static_cast<std::uint16_t>(utc.tm_year + 1900), static_cast<std::uint16_t>(utc.tm_mon + 1),
                          static_cast<std::uint16_t>(utc.tm_wday),         static_cast<std::uint16_t>(utc.tm_mday),
                          static_cast<std::uint16_t>(utc.tm_hour),         static_cast<std::uint16_t>(utc.tm_min),
                          static_cast<std::uint16_t>(utc.tm_sec),          static_cast<std::uint16_t>(now.tv_nsec / 1000000)};
}
