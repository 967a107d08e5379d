// The minute marker and exit countdown of the main window: real timers against
// the local time server, the marker through the tick handler with a fixed clock.

#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "mainwnd/KavrinDlg_win.h"
#include "resources/resource.h"
#include "sntp/SntpSocket.h"
#include "tests/support/TestPeersGate.h"
#include "tests/support/win/ModalDriver.h"
#include "tests/support/win/ProcessRunner.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace
{
std::wstring ItemText(const CWnd& window, int id)
{
    wchar_t text[256] = {};
    ::GetDlgItemTextW(window.GetSafeHwnd(), id, text, 256);
    return text;
}

class ExitCountdownTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ::LoadLibraryW(L"Riched20.dll");
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
        ASSERT_TRUE(m_settings.OpenKey(Settings::kKeyPath, true));
        m_settings.WriteNumber(Settings::Names::SyncOnStart, 0);
        m_settings.WriteNumber(Settings::Names::ExitAfterSync, 1);
        m_settings.WriteText(Settings::Names::CurrentServer, TestPeers::kChronyd);
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath); }

    // Opens the window with that delay and runs a synchronisation.
    void OpenAndSync(std::uint32_t timeToExitMs)
    {
        m_settings.WriteNumber(Settings::Names::TimeToExit, timeToExitMs);
        ASSERT_TRUE(m_dialog.Create(nullptr));
        Click(IDC_SYNCHRONIZE_NOW);
    }
    void Click(int id) const { ::SendMessageW(m_dialog.GetDlgItem(id), BM_CLICK, 0, 0); }
    // Runs the thread's messages, timers included, for `ms` or until the window ends.
    void Run(DWORD ms, const std::function<void()>& eachTurn = [] {}) const
    {
        for (const ULONGLONG end = ::GetTickCount64() + ms; !m_dialog.IsEnded() && ::GetTickCount64() < end;)
        {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG msg{};
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageW(&msg);
            eachTurn();
        }
    }

    CSocketLayer m_sockets;
    CSettingsKey m_settings;
    CKavrinDlg m_dialog;
};
} // namespace

TEST_F(ExitCountdownTest, CompletedRunCountsDownAndEndsWithOk)
{
    REQUIRE_TEST_PEERS();
    OpenAndSync(3000);
    ASSERT_TRUE(m_dialog.IsSyncCompleted());
    const ULONGLONG synced = ::GetTickCount64();
    std::vector<std::wstring> shown;
    Run(6000, [&] {
        if (shown.empty() || shown.back() != ItemText(m_dialog, IDC_COUNTDOWN))
            shown.push_back(ItemText(m_dialog, IDC_COUNTDOWN));
    });
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
    EXPECT_EQ(ItemText(m_dialog, IDC_CANCEL_EXIT), L"Reset");
    Run(2500);
    EXPECT_FALSE(m_dialog.IsEnded());
    Click(IDC_CANCEL_EXIT);
    EXPECT_EQ(ItemText(m_dialog, IDC_CANCEL_EXIT), L"Cancel");
    Run(2500);
    EXPECT_EQ(m_dialog.GetResult(), IDOK);
}

TEST_F(ExitCountdownTest, MarkerAndClockFollowTheTickHandler)
{
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
        for (const int second : {56, 57, 58, 59})
            tick(11, second);
        tick(12, 0);
        for (size_t i = 0; i < 5; ++i)
            EXPECT_EQ(countdown.GetMarker(i).GetBkColor(), i < 4 ? RGB(255, 0, 0) : RGB(0, 255, 0)) << i;
        std::vector<Countdown::Tone> heard(4, {750, 300});
        heard.push_back({1000, 800});
        EXPECT_EQ(tones, useSound ? heard : std::vector<Countdown::Tone>{});
        EXPECT_EQ(ItemText(dialog, IDC_COUNTDOWN), L"Exit in 60 seconds") << "counted from the first tick";

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
    ASSERT_TRUE(m_dialog.Create(nullptr));
    wchar_t documents[MAX_PATH] = {};
    ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, documents), S_OK);
    const std::wstring folder = std::wstring(documents) + L"\\Halvanworks\\Kavrin";
    EXPECT_EQ(m_dialog.GetDataFolder(), folder);
    EXPECT_TRUE(::GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(ExitCountdownTest, ProgramEndsByItselfWithoutSavingTheOptions)
{
    REQUIRE_TEST_PEERS();
    m_settings.WriteNumber(Settings::Names::SyncOnStart, 1);
    m_settings.WriteNumber(Settings::Names::TimeToExit, 3000);
    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.Start(L"Kavrin.exe", L""));
    ASSERT_TRUE(kavrin.WaitForWindow(L"Kavrin", 20000));
    const ULONGLONG shown = ::GetTickCount64();
    DWORD exitCode = 99;
    const bool ended = kavrin.WaitForExit(10000, exitCode);
    if (!ended)
        kavrin.Close(nullptr, 0);
    ASSERT_TRUE(ended);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_NEAR(static_cast<double>(::GetTickCount64() - shown), 3000.0, 1000.0);
    // Only the values written before the start: the saved group stays unwritten.
    for (const wchar_t* name : {Settings::Names::UseSound, Settings::Names::CheckForUpdate,
                                Settings::Names::MinimizeOnSync})
        EXPECT_FALSE(::RegGetValueW(HKEY_CURRENT_USER, Settings::kKeyPath, name, RRF_RT_ANY, nullptr, nullptr,
                                    nullptr) == ERROR_SUCCESS)
            << testing::PrintToString(std::wstring(name));
}
