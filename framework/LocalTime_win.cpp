#include "framework/LocalTime_win.h"

namespace
{
// 100-ns intervals from 1601-01-01 to 1970-01-01.
constexpr std::uint64_t kUnixEpochInFileTime = 116444736000000000ull;
constexpr std::uint64_t kTicksPerSecond = 10000000ull;
} // namespace

std::int64_t CurrentTime() noexcept
{
    return ::_time64(nullptr);
}

std::optional<std::tm> ToLocalTime(std::int64_t when) noexcept
{
    const __time64_t time = when;
    std::tm local{};
    if (::_localtime64_s(&local, &time) != 0)
        return std::nullopt;
    return local;
}

std::int64_t UnixSeconds(const FILETIME& time) noexcept
{
    const std::uint64_t ticks = (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    if (ticks <= kUnixEpochInFileTime)
        return 0;
    return static_cast<std::int64_t>((ticks - kUnixEpochInFileTime) / kTicksPerSecond);
}
