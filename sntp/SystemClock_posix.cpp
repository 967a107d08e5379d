#include "sntp/NtpTimestamp.h"

#include <ctime>

namespace
{
constexpr std::uint64_t kSecondsFrom1900To1970 = 2208988800ull;
constexpr std::uint64_t kNanosecondsPerSecond = 1000000000ull;
} // namespace

CNtpTimestamp ReadPreciseUtcClock() noexcept
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const std::uint64_t seconds = static_cast<std::uint64_t>(now.tv_sec) + kSecondsFrom1900To1970;
    const std::uint64_t fraction = (static_cast<std::uint64_t>(now.tv_nsec) << 32) / kNanosecondsPerSecond;
    return CNtpTimestamp(static_cast<std::uint32_t>(seconds), static_cast<std::uint32_t>(fraction));
}

// 1 ns is about 2^-29.9 s: the lowest 2 bits of a fraction are below it.
unsigned UnresolvedClockBits() noexcept
{
    return 2;
}

std::uint64_t SteadyMilliseconds() noexcept
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
}
