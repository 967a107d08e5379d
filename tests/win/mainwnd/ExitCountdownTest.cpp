// The minute marker and exit countdown of the main window: real timers against
// the local time server, the marker through the tick handler with a fixed clock.

#include "MainWindowTestSupport_win.h"
#include "tests/support/win/ModalDriver.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace
{
class ExitCountdownTest : public MainWindowTest
{
protected:
    // Opens the window with the exit after that delay and runs a synchronisation.
    void OpenAndSync(std::uint32_t timeToExitMs)
    {
        m_settings.WriteNumber(Settings::Names::ExitAfterSync, 1);
        m_settings.WriteNumber(Settings::Names::TimeToExit, timeToExitMs);
        ASSERT_TRUE(m_dialog.Create(nullptr));
        Click(IDC_SYNCHRONIZE_NOW);
        WaitForSync();
    }
    void Click(int id) const { ::SendMessageW(m_dialog.GetDlgItem(id), BM_CLICK, 0, 0); }
    void Run(DWORD ms) const { PumpUntil([this] { return m_dialog.IsEnded(); }, ms); }
};
} // namespace

TEST_F(ExitCountdownTest, CompletedRunCountsDownAndEndsWithOk)
{
    REQUIRE_TEST_PEERS();
    OpenAndSync(3000);
    ASSERT_TRUE(m_dialog.IsSyncCompleted());
    const ULONGLONG synced = ::GetTickCount64();
    std::vector<std::wstring> shown;
    PumpUntil(
        [&] {
            const std::wstring text = Text(m_dialog.GetSafeHwnd(), IDC_COUNTDOWN);
            if (shown.empty() || shown.back() != text)
                shown.push_back(text);
            return m_dialog.IsEnded();
        },
        6000);
    EXPECT_EQ(m_dialog.GetResult(), IDOK);
    EXPECT_NEAR(static_cast<double>(::GetTickCount64() - synced), 3000.0, 600.0);
    const std::vector<std::wstring> falling = {L"Exit in 2 seconds", L"Exit in 1 seconds"};
    EXPECT_NE(std::search(shown.begin(), shown.end(), falling.begin(), falling.end()), shown.end())
        << testing::PrintToString(shown);
}

TEST_F(ExitCountdownTest, FailedRunNeverEnds)
{
    REQUIRE_TEST_PEERS();
    m_settings.WriteText(Settings::Names::CurrentServer, TestPeers::kSilent);
    OpenAndSync(1000);
    Run(2500);
    EXPECT_FALSE(m_dialog.IsEnded());
}

TEST_F(ExitCountdownTest, CancelSuspendsTheExitAndResetRearmsIt)
{
    REQUIRE_TEST_PEERS();
    OpenAndSync(1000);
    Click(IDC_CANCEL_EXIT);
    EXPECT_EQ(Text(m_dialog.GetSafeHwnd(), IDC_CANCEL_EXIT), L"Reset");
    Run(2500);
    EXPECT_FALSE(m_dialog.IsEnded());
    Click(IDC_CANCEL_EXIT);
    EXPECT_EQ(Text(m_dialog.GetSafeHwnd(), IDC_CANCEL_EXIT), L"Cancel");
    Run(2500);
    EXPECT_EQ(m_dialog.GetResult(), IDOK);
}

TEST_F(ExitCountdownTest, MarkerAndClockFollowTheTickHandler)
{
    m_settings.WriteNumber(Settings::Names::ExitAfterSync, 1);
    for (const bool useSound : {true, false})
    {
        m_settings.WriteNumber(Settings::Names::UseSound, useSound ? 1 : 0);
        CKavrinDlg dialog;
        CExitCountdown& countdown = dialog.GetExitCountdown();
        std::int64_t now = 1'000'000;
        std::optional<std::tm> local;
        std::vector<Countdown::Tone> tones;
        countdown.SetClock([&] { return now; }, [&](std::int64_t) { return local; });
        countdown.SetBeeper([&](const Countdown::Tone& tone) { tones.push_back(tone); });
        ASSERT_TRUE(dialog.Create(nullptr));
        const auto tick = [&](int hour, int second) {
            local = std::tm{};
            local->tm_hour = hour;
            local->tm_sec = second;
            ::SendMessageW(dialog.GetSafeHwnd(), WM_TIMER, CExitCountdown::kClockTimer, 0);
        };
        // Nothing before the last four seconds, and nothing more in the minute's first.
        for (const int second : {55, 56, 57, 58, 59})
            tick(11, second);
        tick(12, 0), tick(12, 1);
        for (size_t i = 0; i < 5; ++i)
            EXPECT_EQ(countdown.GetMarker(i).GetBkColor(), i < 4 ? RGB(255, 0, 0) : RGB(0, 255, 0)) << i;
        const std::vector<Countdown::Tone> heard = {{750, 300}, {750, 300}, {750, 300}, {750, 300}, {1000, 800}};
        EXPECT_EQ(tones, useSound ? heard : std::vector<Countdown::Tone>{});
        EXPECT_EQ(Text(dialog.GetSafeHwnd(), IDC_COUNTDOWN), L"Exit in 60 seconds") << "counted from the first tick";

        tick(12, 5);
        for (size_t i = 0; i < 5; ++i)
            EXPECT_EQ(countdown.GetMarker(i).GetBkColor(), ::GetSysColor(COLOR_BTNFACE)) << i;
    }
}

TEST_F(ExitCountdownTest, ExitWaitsForTheExitTimeDialogWhoseOkRestartsTheTimer)
{
    REQUIRE_TEST_PEERS();
    OpenAndSync(3000);
    // Sets `seconds` in the dialog after `waitMs`, then presses `button`.
    const auto inDialog = [&](const wchar_t* seconds, int button, ULONGLONG waitMs) {
        const ULONGLONG opened = ::GetTickCount64();
        return CModalDriver([=, this] {
            const HWND dialog = ::FindWindowW(nullptr, L"Set the time of exit after sync");
            if (!dialog || ::GetTickCount64() - opened < waitMs)
                return false;
            EXPECT_FALSE(m_dialog.IsEnded()) << "the window ended under its dialog";
            ::SetDlgItemTextW(dialog, IDC_EXIT_SECONDS, seconds);
            ::SendMessageW(::GetDlgItem(dialog, button), BM_CLICK, 0, 0);
            return true;
        });
    };
    {
        const CModalDriver cancel = inDialog(L"45", IDCANCEL, 0);
        ::SendMessageW(m_dialog.GetSafeHwnd(), WM_SYSCOMMAND, IDM_SET_EXIT_TIME, 0);
    }
    EXPECT_EQ(m_dialog.GetSettings().TimeToExit, 3000u);
    {
        const CModalDriver ok = inDialog(L"45", IDOK, 3500);
        Click(IDC_SET_EXIT_TIME);
    }
    EXPECT_EQ(m_dialog.GetSettings().TimeToExit, 45000u);
    Run(3500);
    EXPECT_FALSE(m_dialog.IsEnded()) << "timer 3 starts again with the new delay";
}

TEST_F(ExitCountdownTest, SetUpCreatesTheDataFolder)
{
    const std::wstring folder = ShellFolder(CSIDL_PERSONAL) + L"\\Halvanworks\\Kavrin";
    ::RemoveDirectoryW(folder.c_str()); // left by an earlier window, when empty
    ASSERT_TRUE(m_dialog.Create(nullptr));
    EXPECT_EQ(m_dialog.GetDataFolder(), folder);
    EXPECT_TRUE(::GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY && Exists(folder));
}

TEST_F(ExitCountdownTest, ProgramEndsByItselfWithoutSavingTheOptions)
{
    REQUIRE_TEST_PEERS();
    m_settings.WriteNumber(Settings::Names::SyncOnStart, 1);
    m_settings.WriteNumber(Settings::Names::ExitAfterSync, 1);
    m_settings.WriteNumber(Settings::Names::TimeToExit, 3000);
    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.Start(L"Kavrin.exe", L""));
    ASSERT_TRUE(kavrin.WaitForWindow(L"Kavrin", 20000));
    const ULONGLONG shown = ::GetTickCount64();
    ASSERT_EQ(ExitCodeOf(kavrin, 10000), 0);
    EXPECT_NEAR(static_cast<double>(::GetTickCount64() - shown), 3000.0, 1000.0);
    // Only the values written before the start: the saved group stays unwritten.
    for (const wchar_t* name : {Settings::Names::UseSound, Settings::Names::CheckForUpdate,
                                Settings::Names::MinimizeOnSync})
        EXPECT_FALSE(HasValue(name)) << testing::PrintToString(std::wstring(name));
}
