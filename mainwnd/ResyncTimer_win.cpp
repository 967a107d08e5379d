#include "mainwnd/ResyncTimer_win.h"

// The spread only keeps clients of one pool apart: the tick count and the
// process id seed it well enough.
CResyncTimer::CResyncTimer(const CWnd& window) noexcept
    : m_window(window),
      m_random(static_cast<std::minstd_rand::result_type>(::GetTickCount64() ^ ::GetCurrentProcessId()))
{
}

void CResyncTimer::ScheduleRegular(std::uint32_t resyncHours)
{
    std::uniform_real_distribution<double> spread(-1.0, 1.0);
    Start(Resync::RegularDelay(resyncHours, spread(m_random), m_hourMs));
}

void CResyncTimer::ScheduleAfterResume()
{
    Start(Resync::ResumeDelay(m_hourMs));
}

void CResyncTimer::ScheduleRetry()
{
    Start(Resync::RetryDelay(m_hourMs));
}

void CResyncTimer::Stop()
{
    ::KillTimer(m_window.GetSafeHwnd(), kTimer);
}

// Setting the same timer again replaces its delay.
void CResyncTimer::Start(std::uint32_t ms)
{
    ::SetTimer(m_window.GetSafeHwnd(), kTimer, ms, nullptr);
}
