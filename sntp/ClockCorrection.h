#pragma once
// Moves the system clock by a measured offset, under the right to set the
// system time, and never by an hour or more.

#include "sntp/NtpTimestamp.h"

#include <cstdint>

enum class ClockCorrection
{
    Corrected, // the clock was set
    Refused,   // |offset| of an hour or more: the clock was not touched
    Failed,    // a privilege step or setting the clock failed
};

// A privilege entry of a token-privileges record: its identifier and its
// attribute word.
struct PrivilegeRecord
{
    std::uint32_t luidLowPart = 0;
    std::int32_t luidHighPart = 0;
    std::uint32_t attributes = 0;
};

// What the correction asks of the platform, one call each.
class IClockPlatform
{
public:
    virtual ~IClockPlatform() = default;

    // The UTC clock as finely as the system tells it.
    virtual CNtpTimestamp ReadUtcClock() = 0;
    // Opens the current process's token with the given access; the platform
    // holds it for the privilege calls.
    virtual bool OpenToken(std::uint32_t access) = 0;
    // Fills the privilege's identifier.
    virtual bool LookUpPrivilege(const wchar_t* name, PrivilegeRecord& privilege) = 0;
    // Applies the one-entry record to the token (enabling or disabling).
    virtual bool AdjustPrivilege(const PrivilegeRecord& privilege) = 0;
    virtual bool SetUtcClock(const CalendarRecord& utc) = 0;
    virtual std::uint32_t LastError() = 0;
    virtual void SetLastErrorCode(std::uint32_t error) = 0;
};

namespace ClockRules
{
inline constexpr double kRefusedOffsetSeconds = 3600.0;
inline constexpr std::uint32_t kTokenAccess = 0x28; // TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
inline constexpr std::uint32_t kPrivilegeEnabled = 2; // SE_PRIVILEGE_ENABLED
// The token request's answer on a system without a privilege model.
inline constexpr std::uint32_t kErrorCallNotImplemented = 120;
inline constexpr wchar_t kSystemTimePrivilege[] = L"SeSystemtimePrivilege";
} // namespace ClockRules

// Reads the clock, adds offsetSeconds (positive moves it forward), rounds
// to the millisecond that the clock takes, gains the right to set the time,
// sets it and gives the right up again.
ClockCorrection CorrectSystemClock(double offsetSeconds, IClockPlatform& platform);

// The same with the system's own clock and privileges (Windows only).
ClockCorrection CorrectSystemClock(double offsetSeconds);
