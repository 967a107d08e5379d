#pragma once
// The rules of the exit-time dialog: reading the seconds field, the limits
// of the delay and the explanation text. Pure: the dialog calls these.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ExitTime
{
inline constexpr std::uint32_t kMinSeconds = 30;
// The spin arrows stop here; a larger number may still be typed.
inline constexpr std::uint32_t kMaxSpinSeconds = 300;
// The largest whole count whose milliseconds fit in 32 bits.
inline constexpr std::uint32_t kMaxSeconds = 4294967;

struct SecondsField
{
    // The seconds the field stands for, within the limits.
    std::uint32_t seconds;
    // The field must show `seconds` instead of what it holds.
    bool rewrite;
};

// Reads the field's whole seconds: leading blanks, then decimal digits up
// to the first other character. A field with no digits counts as the
// minimum, as does a number below it; a number above kMaxSeconds counts as
// kMaxSeconds.
SecondsField ReadSecondsField(std::wstring_view text);

std::uint32_t ToMilliseconds(std::uint32_t seconds);

// "1 min 0 seconds".
std::wstring TimeText(std::uint32_t seconds);
// The explanation with the current delay at its end.
std::wstring Explanation(std::uint32_t seconds);
// The explanation's first part, up to and including "set at", drawn apart
// from the delay that follows.
std::size_t ExplanationLeadLength(const std::wstring& explanation);
} // namespace ExitTime
