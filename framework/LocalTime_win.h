#pragma once
// Calendar time through the C run-time: now, local time, file times.

#include <windows.h>

#include <cstdint>
#include <ctime>
#include <optional>

// Seconds since 1970-01-01 UTC.
std::int64_t CurrentTime() noexcept;
// The local calendar time of `when` (seconds since 1970-01-01 UTC); nothing
// when the run-time cannot convert it.
std::optional<std::tm> ToLocalTime(std::int64_t when) noexcept;
// A file time as seconds since 1970-01-01 UTC; 0 for any earlier time.
std::int64_t UnixSeconds(const FILETIME& time) noexcept;
