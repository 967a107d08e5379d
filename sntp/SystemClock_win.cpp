#include "sntp/NtpTimestamp.h"

#include <windows.h>

namespace
{
// 100-ns intervals from 1601-01-01 to 1900-01-01, the NTP era's start.
constexpr std::uint64_t kNtpEpochInFileTime = 94354848000000000ull;
constexpr std::uint64_t kTicksPerSecond = 10000000ull;

using PreciseTimeFunction = VOID(WINAPI*)(LPFILETIME);

// GetSystemTimePreciseAsFileTime where the system has it (Windows 8 on).
PreciseTimeFunction PreciseTime() noexcept
{
    static const PreciseTimeFunction function = [] {
        const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
        const FARPROC found = kernel ? ::GetProcAddress(kernel, "GetSystemTimePreciseAsFileTime") : nullptr;
        // Through the generic function type, which converts to any other
        // without a cast-function-type warning.
        return reinterpret_cast<PreciseTimeFunction>(reinterpret_cast<void (*)()>(found));
    }();
    return function;
}
} // namespace

CNtpTimestamp ReadPreciseUtcClock() noexcept
{
    FILETIME now{};
    if (const PreciseTimeFunction precise = PreciseTime())
        precise(&now);
    else
        ::GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks =
        ((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime) - kNtpEpochInFileTime;
    const std::uint64_t seconds = ticks / kTicksPerSecond;
    const std::uint64_t fraction = ((ticks % kTicksPerSecond) << 32) / kTicksPerSecond;
    return CNtpTimestamp(static_cast<std::uint32_t>(seconds), static_cast<std::uint32_t>(fraction));
}

// 100 ns is about 2^-23.3 s: the lowest 8 bits of a fraction lie below it.
// The older clock steps in about 15.6 ms, 2^-6 s.
unsigned UnresolvedClockBits() noexcept
{
    return PreciseTime() ? 8 : 26;
}

std::uint64_t SteadyMilliseconds() noexcept
{
    return ::GetTickCount64();
}
