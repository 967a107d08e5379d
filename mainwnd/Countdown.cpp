#include "mainwnd/Countdown.h"

#include <algorithm>
#include <cwchar>
#include <limits>

namespace Countdown
{
unsigned long ClockColor(int hour)
{
    return hour < 12 ? kMorningClock : kAfternoonClock;
}

std::wstring ClockText(const std::tm& local)
{
    const int hour = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    wchar_t designator[64] = {};
    std::wcsftime(designator, std::size(designator), L"%p", &local);
    wchar_t text[128] = {};
    const int length =
        std::swprintf(text, std::size(text), L"%d:%02d:%02d %ls", hour, local.tm_min, local.tm_sec, designator);
    return length < 0 ? std::wstring() : std::wstring(text, static_cast<size_t>(length));
}

std::int32_t SecondsLeft(std::uint32_t timeToExitMs, std::int64_t lastSync, std::int64_t now)
{
    const std::int64_t left = static_cast<std::int64_t>(timeToExitMs / 1000) + lastSync - now;
    using Limits = std::numeric_limits<std::int32_t>;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(left, Limits::min(), Limits::max()));
}

std::wstring ExitText(std::int32_t secondsLeft)
{
    if (secondsLeft < 0)
        return {};
    return L"Exit in " + std::to_wstring(secondsLeft) + L" seconds";
}

MarkerStep MarkerForSecond(int second)
{
    constexpr Tone kShortTone{750, 300};
    constexpr Tone kLongTone{1000, 800};
    if (second >= 56 && second <= 59)
        return {MarkerStep::Kind::Light, second - 56, kMarkerRed, kShortTone};
    if (second == 0)
        return {MarkerStep::Kind::Light, 4, kMarkerGreen, kLongTone};
    if (second == 5)
        return {MarkerStep::Kind::ResetAll, -1, 0, std::nullopt};
    return {};
}
} // namespace Countdown
