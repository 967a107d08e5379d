#include "mainwnd/Countdown_win.h"

#include "common/SettingsKey_win.h"
#include "framework/LocalTime_win.h"
#include "mainwnd/ExitTimeDlg_win.h"
#include "resources/KavrinDlgRes.h"

namespace
{
// A tone that cannot be played is left out.
void PlayTone(const Countdown::Tone& tone)
{
    ::Beep(tone.frequency, tone.duration);
}

void StoreAtOnce(const wchar_t* name, std::uint32_t value)
{
    CSettingsKey store;
    StoreNumber(store, name, value);
}
} // namespace

CExitCountdown::CExitCountdown(CDialog& window, WindowState state)
    : m_window(window), m_state(state), m_now(CurrentTime), m_localTime(ToLocalTime), m_beep(PlayTone)
{
}

void CExitCountdown::SetClock(Clock now, LocalTime localTime)
{
    m_now = std::move(now);
    m_localTime = std::move(localTime);
}

void CExitCountdown::SetBeeper(Beeper beeper)
{
    m_beep = std::move(beeper);
}

void CExitCountdown::BindLabels()
{
    m_clockLabel.SubclassDlgItem(Window(), IDC_CLOCK);
    for (size_t i = 0; i < m_markers.size(); ++i)
        m_markers[i].SubclassDlgItem(Window(), IDC_MARKER_56 + static_cast<int>(i));
    m_countdownLabel.SubclassDlgItem(Window(), IDC_COUNTDOWN);
}

void CExitCountdown::StyleLabels()
{
    m_clockLabel.SetBkColor(RGB(255, 255, 255));
    m_clockLabel.SetFontSize(26).SetFontBold(true);
    m_crMarkerNeutral = ::GetSysColor(COLOR_BTNFACE);
    for (CLabel& marker : m_markers)
        marker.SetFontSize(18);
    m_countdownLabel.SetText(L"");
    m_countdownLabel.SetTextColor(RGB(160, 0, 0));
    m_countdownLabel.SetFontBold(true).SetFontSize(14);
}

void CExitCountdown::StartTimers()
{
    m_nClockTimerID = ::SetTimer(Window(), kClockTimer, 1000, nullptr);
    m_nExitTimerID = ::SetTimer(Window(), kExitTimer, m_state.settings.TimeToExit, nullptr);
}

void CExitCountdown::RestartExitTimer()
{
    if (m_nExitTimerID)
        ::KillTimer(Window(), m_nExitTimerID);
    m_nExitTimerID = ::SetTimer(Window(), kExitTimer, m_state.settings.TimeToExit, nullptr);
}

void CExitCountdown::OnClockTick()
{
    const std::int64_t now = m_now();
    if (m_state.lastSync <= 0)
        m_state.lastSync = now;
    const std::optional<std::tm> local = m_localTime(now);
    ShowClock(local);
    const KavrinSettings& settings = m_state.settings;
    if (settings.ExitAfterSync)
        m_countdownLabel.SetText(
            Countdown::ExitText(Countdown::SecondsLeft(settings.TimeToExit, m_state.lastSync, now)));
    if (local)
        StepMarker(Countdown::MarkerForSecond(local->tm_sec));
}

void CExitCountdown::ShowClock(const std::optional<std::tm>& local)
{
    if (local)
        m_clockLabel.SetText(Countdown::ClockText(*local));
    const COLORREF colour = Countdown::ClockColor(local ? local->tm_hour : -1);
    if (m_clockLabel.GetTextColor() != colour)
        m_clockLabel.SetTextColor(colour);
}

void CExitCountdown::StepMarker(const Countdown::MarkerStep& step)
{
    switch (step.kind)
    {
    case Countdown::MarkerStep::Kind::Light:
    {
        CLabel& marker = m_markers.at(static_cast<size_t>(step.label));
        marker.SetBkColor(step.color);
        if (m_state.settings.UseSound && step.tone)
        {
            // The tone blocks the thread: show the colour first.
            ::UpdateWindow(marker.GetSafeHwnd());
            m_beep(*step.tone);
        }
        break;
    }
    case Countdown::MarkerStep::Kind::ResetAll:
        for (CLabel& marker : m_markers)
            marker.SetBkColor(m_crMarkerNeutral);
        break;
    case Countdown::MarkerStep::Kind::None:
        break;
    }
}

void CExitCountdown::OnExitTimer()
{
    if (!m_state.settings.ExitAfterSync || !m_state.syncCompleted)
        return;
    // Never end the window underneath one of its modal dialogs: the exit
    // waits for the next firing.
    if (m_window.DeferToOpenModal())
        return;
    m_window.EndDialog(IDOK);
}

void CExitCountdown::OnExitAfterSyncClicked()
{
    KavrinSettings& settings = m_state.settings;
    settings.ExitAfterSync = ::IsDlgButtonChecked(Window(), IDC_EXIT_AFTER_SYNC) == BST_CHECKED;
    ::EnableWindow(::GetDlgItem(Window(), IDC_CANCEL_EXIT), settings.ExitAfterSync ? TRUE : FALSE);
    StoreAtOnce(Settings::Names::ExitAfterSync, settings.ExitAfterSync ? 1 : 0);
}

void CExitCountdown::OnCancelExitClicked()
{
    KavrinSettings& settings = m_state.settings;
    settings.ExitAfterSync = !settings.ExitAfterSync;
    ::SetDlgItemTextW(Window(), IDC_CANCEL_EXIT, settings.ExitAfterSync ? L"Cancel" : L"Reset");
}

void CExitCountdown::OnSetExitTime()
{
    CExitTimeDlg dialog;
    dialog.m_dwTimeToExit = m_state.settings.TimeToExit;
    if (dialog.DoModal(Window()) != IDOK)
        return;
    m_state.settings.TimeToExit = dialog.m_dwTimeToExit;
    RestartExitTimer();
    StoreAtOnce(Settings::Names::TimeToExit, m_state.settings.TimeToExit);
}
