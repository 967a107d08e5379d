#include "sntp/NtpTimestamp.h"

#include <cmath>

namespace
{
constexpr std::int64_t kSecondsPerDay = 86400;
// Days from 1970-01-01 back to 1900-01-01.
constexpr std::int64_t kDaysFrom1900To1970 = 25567;
constexpr std::uint64_t kEraSeconds = std::uint64_t{1} << 32;
constexpr double kFractionScale = 4294967295.0;

// Days since 1970-01-01 of a proleptic Gregorian date.
constexpr std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned shiftedMonth = month > 2 ? month - 3 : month + 9; // March = 0
    const unsigned dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

struct CivilDate
{
    std::int64_t year;
    unsigned month;
    unsigned day;
};

// The inverse of DaysFromCivil.
constexpr CivilDate CivilFromDays(std::int64_t days)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

static_assert(DaysFromCivil(1900, 1, 1) == -kDaysFrom1900To1970);
static_assert(CivilFromDays(-kDaysFrom1900To1970).year == 1900);

// Whole seconds and fraction of a non-negative distance as one double.
double Magnitude(std::uint64_t distance)
{
    return static_cast<double>(distance >> 32) + static_cast<double>(distance & 0xFFFFFFFFu) / kFractionScale;
}
} // namespace

CNtpTimestamp CNtpTimestamp::Now() noexcept
{
    return ReadPreciseUtcClock();
}

CNtpTimestamp CNtpTimestamp::FromCalendar(const CalendarRecord& utc) noexcept
{
    const std::int64_t days = DaysFromCivil(utc.year, utc.month, utc.day) + kDaysFrom1900To1970;
    const std::int64_t seconds = ((days * 24 + utc.hour) * 60 + utc.minute) * 60 + utc.second;
    // A clock never reports 1000 ms or more; stay inside the table regardless.
    const std::size_t ms = utc.milliseconds < MillisecondFractionTable.size() ? utc.milliseconds : 999;
    return CNtpTimestamp(static_cast<std::uint32_t>(static_cast<std::uint64_t>(seconds)),
                         MillisecondFractionTable[ms]);
}

double CNtpTimestamp::Difference(CNtpTimestamp a, CNtpTimestamp b) noexcept
{
    const std::uint64_t forward = a.m_value - b.m_value;
    if (static_cast<std::int64_t>(forward) >= 0)
        return Magnitude(forward);
    return -Magnitude(b.m_value - a.m_value);
}

CNtpTimestamp CNtpTimestamp::AddSeconds(double seconds) const noexcept
{
    if (!std::isfinite(seconds))
        return *this;
    const double magnitude = std::fabs(seconds);
    const double whole = std::trunc(magnitude);
    const double part = magnitude - whole;
    const auto wholeSeconds = static_cast<std::uint32_t>(std::fmod(whole, static_cast<double>(kEraSeconds)));
    const std::uint64_t step = (std::uint64_t{wholeSeconds} << 32) + static_cast<std::uint64_t>(part * kFractionScale);
    return CNtpTimestamp(seconds >= 0 ? m_value + step : m_value - step);
}

CalendarRecord CNtpTimestamp::ToCalendar() const noexcept
{
    std::uint64_t seconds = Seconds();
    if ((seconds & 0x80000000u) == 0)
        seconds += kEraSeconds;
    auto milliseconds = static_cast<std::uint32_t>(Fraction() * 1000.0 / kFractionScale + 0.5);
    if (milliseconds >= 1000)
    {
        milliseconds -= 1000;
        ++seconds;
    }

    const auto days = static_cast<std::int64_t>(seconds / kSecondsPerDay);
    const auto secondOfDay = static_cast<std::uint32_t>(seconds % kSecondsPerDay);
    const CivilDate date = CivilFromDays(days - kDaysFrom1900To1970);

    CalendarRecord utc;
    utc.year = static_cast<std::uint16_t>(date.year);
    utc.month = static_cast<std::uint16_t>(date.month);
    utc.dayOfWeek = static_cast<std::uint16_t>((days + 1) % 7);
    utc.day = static_cast<std::uint16_t>(date.day);
    utc.hour = static_cast<std::uint16_t>(secondOfDay / 3600);
    utc.minute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
    utc.second = static_cast<std::uint16_t>(secondOfDay % 60);
    utc.milliseconds = static_cast<std::uint16_t>(milliseconds);
    return utc;
}
