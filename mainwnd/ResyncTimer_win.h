#pragma once
// The window timer of "Keep synchronized while running": set anew for the
// next regular run, for a run shortly after a resume, or for another try
// when a run fell due at a bad moment. It fires once; the window decides
// (Resync::Decide) and sets it again.

#include "framework/Wnd_win.h"
#include "mainwnd/Resync.h"

#include <cstdint>
#include <random>

class CResyncTimer
{
public:
    static constexpr UINT_PTR kTimer = 4;

    explicit CResyncTimer(const CWnd& window) noexcept;
    CResyncTimer(const CResyncTimer&) = delete;
    CResyncTimer& operator=(const CResyncTimer&) = delete;

    void ScheduleRegular(std::uint32_t resyncHours);
    void ScheduleAfterResume();
    void ScheduleRetry();
    void Stop();

    // Tests shorten the hour, and with it every delay.
    void SetHourLength(std::uint32_t ms) noexcept { m_hourMs = ms; }

private:
    void Start(std::uint32_t ms);

    const CWnd& m_window;
    std::uint32_t m_hourMs = Resync::kHourMs;
    std::minstd_rand m_random;
};
