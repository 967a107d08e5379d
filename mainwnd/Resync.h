#pragma once
// When "Keep synchronized while running" synchronises by itself: every
// ResyncHours hours after the last run, give or take a few minutes so that
// the clients of a pool do not all ask at once, and shortly after the
// system resumes. Pure: the window's resync timer asks these.

#include <cstdint>

namespace Resync
{
inline constexpr std::uint32_t kHourMs = 3'600'000;

// The window's state when a run falls due.
struct Situation
{
    bool keepSynchronized = false;
    bool syncRunning = false;
    bool dialogOpen = false;
    // A completed run with the exit on: the window is about to end.
    bool exitPending = false;
};

enum class Decision
{
    Stop, // the option is off
    Wait, // try again a little later
    Run,
};
Decision Decide(const Situation& now);

// The delays below are in milliseconds of an hour of `hourMs`, so that a
// shorter hour shortens them all alike.

// ResyncHours (at least 1) hours, moved by `spread` (-1 to 1) times five
// minutes; never beyond what a window timer can wait.
std::uint32_t RegularDelay(std::uint32_t resyncHours, double spread, std::uint32_t hourMs = kHourMs);
// Half a minute after a resume, once the network is back.
std::uint32_t ResumeDelay(std::uint32_t hourMs = kHourMs);
// A minute, after a run fell due at a bad moment.
std::uint32_t RetryDelay(std::uint32_t hourMs = kHourMs);
} // namespace Resync
