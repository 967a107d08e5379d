#include "mainwnd/Resync.h"

#include <algorithm>
#include <cmath>

namespace Resync
{
namespace
{
// The longest a window timer waits (USER_TIMER_MAXIMUM).
constexpr double kLongestDelayMs = 0x7FFFFFFF;
} // namespace

Decision Decide(const Situation& now)
{
    if (!now.keepSynchronized)
        return Decision::Stop;
    if (now.syncRunning || now.dialogOpen || now.exitPending)
        return Decision::Wait;
    return Decision::Run;
}

std::uint32_t RegularDelay(std::uint32_t resyncHours, double spread, std::uint32_t hourMs)
{
    const double hour = hourMs;
    const double delay = std::max<std::uint32_t>(resyncHours, 1) * hour + std::clamp(spread, -1.0, 1.0) * hour / 12;
    return static_cast<std::uint32_t>(std::lround(std::clamp(delay, 1.0, kLongestDelayMs)));
}

std::uint32_t ResumeDelay(std::uint32_t hourMs)
{
    return std::max<std::uint32_t>(hourMs / 120, 1);
}

std::uint32_t RetryDelay(std::uint32_t hourMs)
{
    return std::max<std::uint32_t>(hourMs / 60, 1);
}
} // namespace Resync
