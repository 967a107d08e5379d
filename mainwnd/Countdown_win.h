#pragma once
// The main window's clock, minute marker and exit countdown. Timer 1 ticks
// every second: the clock, the countdown text and the marker with its
// tones. Timer 3 fires every TimeToExit ms and ends the window once a
// synchronisation has completed and the exit is on. The window routes those
// timers and the commands of the "Automatically Close Kavrin" group here.

#include "common/KavrinSettings.h"
#include "controls/Label_win.h"
#include "framework/Dialog_win.h"
#include "mainwnd/Countdown.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>

class CExitCountdown
{
public:
    static constexpr UINT_PTR kClockTimer = 1;
    static constexpr UINT_PTR kExitTimer = 3;

    // What the countdown reads and changes of its window's state, which
    // synchronisation runs update too.
    struct WindowState
    {
        KavrinSettings& settings;
        const bool& syncCompleted;
        std::int64_t& lastSync;
    };

    // The clock (seconds since 1970), its local time (nothing when the
    // conversion fails) and the tone generator; fixed ones in tests.
    using Clock = std::function<std::int64_t()>;
    using LocalTime = std::function<std::optional<std::tm>(std::int64_t)>;
    using Beeper = std::function<void(const Countdown::Tone&)>;

    CExitCountdown(CDialog& window, WindowState state);
    CExitCountdown(const CExitCountdown&) = delete;
    CExitCountdown& operator=(const CExitCountdown&) = delete;

    // Set-up: binds the clock, marker and countdown labels; styles them;
    // starts both timers.
    void BindLabels();
    void StyleLabels();
    void StartTimers();
    // Stops timer 3 and starts it again with TimeToExit, so that the delay
    // counts from now.
    void RestartExitTimer();

    void OnClockTick();
    void OnExitTimer();
    void OnExitAfterSyncClicked();
    void OnCancelExitClicked();
    // The exit-time dialog; after OK the new delay restarts timer 3 and is
    // stored at once.
    void OnSetExitTime();

    void SetClock(Clock now, LocalTime localTime);
    void SetBeeper(Beeper beeper);

    COLORREF GetMarkerNeutral() const noexcept { return m_crMarkerNeutral; }
    const CLabel& GetClockLabel() const noexcept { return m_clockLabel; }
    // 0 for "56" ... 4 for "0".
    const CLabel& GetMarker(size_t index) const { return m_markers.at(index); }

private:
    void ShowClock(const std::optional<std::tm>& local);
    void StepMarker(const Countdown::MarkerStep& step);
    HWND Window() const noexcept { return m_window.GetSafeHwnd(); }

    CDialog& m_window;
    WindowState m_state;
    Clock m_now;
    LocalTime m_localTime;
    Beeper m_beep;

    UINT_PTR m_nClockTimerID = 0;
    UINT_PTR m_nExitTimerID = 0;
    COLORREF m_crMarkerNeutral = 0;
    CLabel m_clockLabel;
    std::array<CLabel, 5> m_markers;
    CLabel m_countdownLabel;
};
