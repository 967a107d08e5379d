// "Keep synchronized while running" with a short hour: real timers, real runs against the local time server.

#include "MainWindowTestSupport_win.h"
#include "tests/support/win/ModalDriver.h"

namespace
{
class KeepSynchronizedTest : public MainWindowTest
{
protected:
    // Milliseconds until a run shows its correction (the status blanked first), or -1 after `ms`.
    long NextRun(DWORD ms, const std::function<void()>& meanwhile = [] {})
    {
        ::SetDlgItemTextW(m_dialog.GetSafeHwnd(), IDC_STATUS, L"");
        const ULONGLONG start = ::GetTickCount64();
        meanwhile();
        PumpUntil([this] { return ShowsCorrection(Status()); }, ms);
        return ShowsCorrection(Status()) ? static_cast<long>(::GetTickCount64() - start) : -1;
    }
    void Resume() const { ::SendMessageW(m_dialog.GetSafeHwnd(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0); }
};
} // namespace

TEST_F(KeepSynchronizedTest, RunsOnScheduleAndAfterAResumeButNeverUnderADialogOrAPendingExit)
{
    REQUIRE_TEST_PEERS();
    m_settings.WriteNumber(Settings::Names::KeepSynchronized, 1);
    m_settings.WriteNumber(Settings::Names::ResyncHours, 2);
    m_dialog.GetResyncTimer().SetHourLength(600); // every 1.2 s, give or take 50 ms
    const ULONGLONG opened = ::GetTickCount64();
    Open();
    EXPECT_GE(NextRun(3000), 0);
    EXPECT_GE(::GetTickCount64() - opened, 1150u) << "not before its time";
    EXPECT_GE(NextRun(3000), 1100) << "and again, counted from the last run";

    m_dialog.GetResyncTimer().SetHourLength(60'000); // resume after 0.5 s, retry after 1 s, every 2 min
    EXPECT_GE(NextRun(3000, [this] { Resume(); }), 0);
    bool quietUnderDialog = false;
    const auto resumeUnderTheAboutBox = [&] {
        const ULONGLONG shown = ::GetTickCount64();
        const CModalDriver driver([&] {
            if (::GetTickCount64() - shown < 1500)
                return false;
            quietUnderDialog = Status().empty() && !m_dialog.IsSyncRunning();
            ::PostMessageW(::GetLastActivePopup(m_dialog.GetSafeHwnd()), WM_CLOSE, 0, 0);
            return true;
        });
        Resume();
        ::SendMessageW(m_dialog.GetSafeHwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    };
    EXPECT_GE(NextRun(4000, resumeUnderTheAboutBox), 0) << "once the dialog has closed";
    EXPECT_TRUE(quietUnderDialog);

    ::SendMessageW(m_dialog.GetDlgItem(IDC_EXIT_AFTER_SYNC), BM_CLICK, 0, 0); // ends the window in a minute
    EXPECT_EQ(NextRun(2000, [this] { Resume(); }), -1);
    ::SendMessageW(m_dialog.GetSafeHwnd(), WM_SYSCOMMAND, IDM_KEEP_SYNCHRONIZED, 0);
    DWORD size = 0;
    EXPECT_TRUE(HasValue(Settings::Names::KeepSynchronized, &size) && size == 4);
    EXPECT_EQ(m_settings.ReadNumber(Settings::Names::KeepSynchronized, 9), 0u) << "stored at once";
}
