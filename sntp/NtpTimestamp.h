#pragma once
// NTP timestamps: seconds since 1900-01-01 00:00:00 UTC in the high 32 bits,
// the binary fraction of a second in the low 32 bits.

#include <array>
#include <cstdint>

// A UTC calendar instant with the fields and widths of Win32's SYSTEMTIME,
// in the same order.
struct CalendarRecord
{
    std::uint16_t year = 0;
    std::uint16_t month = 0;     // 1 to 12
    std::uint16_t dayOfWeek = 0; // 0 = Sunday
    std::uint16_t day = 0;       // 1 to 31
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;

    friend bool operator==(const CalendarRecord&, const CalendarRecord&) = default;
};

namespace NtpDetail
{
constexpr std::array<std::uint32_t, 1000> BuildMillisecondFractions()
{
    std::array<std::uint32_t, 1000> table{};
    for (std::size_t n = 0; n < table.size(); ++n)
        table[n] = static_cast<std::uint32_t>(((std::uint64_t{n} << 32) + 500) / 1000);
    return table;
}
} // namespace NtpDetail

// Entry n is n * 2^32 / 1000 rounded to the nearest integer: the fraction of
// a second that n milliseconds stand for.
inline constexpr std::array<std::uint32_t, 1000> MillisecondFractionTable =
    NtpDetail::BuildMillisecondFractions();

class CNtpTimestamp
{
public:
    constexpr CNtpTimestamp() noexcept = default;
    constexpr explicit CNtpTimestamp(std::uint64_t value) noexcept : m_value(value) {}
    constexpr CNtpTimestamp(std::uint32_t seconds, std::uint32_t fraction) noexcept
        : m_value((std::uint64_t{seconds} << 32) | fraction)
    {
    }

    constexpr std::uint64_t Value() const noexcept { return m_value; }
    constexpr std::uint32_t Seconds() const noexcept { return static_cast<std::uint32_t>(m_value >> 32); }
    constexpr std::uint32_t Fraction() const noexcept { return static_cast<std::uint32_t>(m_value); }

    // The system's UTC clock, as finely as the system tells it.
    static CNtpTimestamp Now() noexcept;
    // Seconds are kept modulo 2^32, so instants from 2036-02-07 06:28:16 UTC
    // on start again at small values (the next NTP era).
    static CNtpTimestamp FromCalendar(const CalendarRecord& utc) noexcept;

    // a - b in seconds. The distance is taken as a signed 64-bit difference,
    // so two instants either side of an era wrap differ by their real distance
    // (valid for instants less than about 68 years apart).
    static double Difference(CNtpTimestamp a, CNtpTimestamp b) noexcept;

    // This instant moved by a signed number of seconds. A value that is not
    // finite leaves it unchanged.
    CNtpTimestamp AddSeconds(double seconds) const noexcept;

    // Seconds with the top bit set lie in 1968-2036 (counted from 1900),
    // those with it clear in 2036-2104 (counted from 2036-02-07 06:28:16).
    // Milliseconds are rounded to the nearest; 999.5 and above carry into the
    // next second.
    CalendarRecord ToCalendar() const noexcept;

    friend constexpr bool operator==(CNtpTimestamp, CNtpTimestamp) noexcept = default;

private:
    std::uint64_t m_value = 0;
};

// Provided per platform: the system's UTC clock as finely as the system
// tells it; how many of its lowest fraction bits lie below the clock's
// resolution; a steady millisecond count for measuring waits.
CNtpTimestamp ReadPreciseUtcClock() noexcept;
unsigned UnresolvedClockBits() noexcept;
std::uint64_t SteadyMilliseconds() noexcept;
