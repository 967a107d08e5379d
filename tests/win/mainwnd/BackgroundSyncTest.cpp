// The exchange runs beside the window: the window stays alive meanwhile, every
// address of a name is asked, and closing the window never waits for the network.

#include "MainWindowTestSupport_win.h"
#include "mainwnd/SyncReport.h"

namespace
{
using BackgroundSync = MainWindowTest;

std::wstring Caption(HWND window) { return Text(window, IDC_SERVER_CAPTION); }
} // namespace

TEST_F(BackgroundSync, TheClockTicksWhileARunWaitsAndASecondRequestStartsNothing)
{
    REQUIRE_TEST_PEERS();
    const HWND window = Open().GetSafeHwnd();
    m_dialog.ChangeServer(TestPeers::kSilent);
    const std::wstring before = Status();
    ::SendMessageW(window, WM_COMMAND, IDC_SYNCHRONIZE_NOW, 0);
    ASSERT_TRUE(m_dialog.IsSyncRunning());
    const std::wstring clock = Text(window, IDC_CLOCK);
    PumpUntil([&] { return Text(window, IDC_CLOCK) != clock; }, 2500);
    EXPECT_NE(Text(window, IDC_CLOCK), clock) << "the clock ticks on";

    m_dialog.ChangeServer(TestPeers::kChronyd);
    ::SendMessageW(window, WM_COMMAND, ID_TRAY_SYNCHRONIZE_NOW, 0);
    EXPECT_EQ(Status(), before);
    WaitForSync();
    EXPECT_EQ(Status(), SyncReport::NoReply(TestPeers::kSilent)) << "only the first run ran";
}

TEST_F(BackgroundSync, EveryAddressIsAskedAndTheFirstGoodAnswerWins)
{
    REQUIRE_TEST_PEERS();
    const HWND window = Open().GetSafeHwnd();
    const ULONGLONG started = ::GetTickCount64();
    ASSERT_TRUE(ShowsCorrection(Synchronize(TestPeers::kSilentThenGood))) << testing::PrintToString(Status());
    EXPECT_LT(::GetTickCount64() - started, 1500u);
    EXPECT_EQ(Caption(window), SyncReport::Caption(TestPeers::kNameGoodHost)) << "the address that answered";

    EXPECT_TRUE(ShowsCorrection(Synchronize(TestPeers::kLossy))) << testing::PrintToString(Status());
    EXPECT_EQ(Caption(window), SyncReport::Caption(TestPeers::kLossy));
    EXPECT_TRUE(ShowsCorrection(Synchronize(TestPeers::kGoodIpv6))) << testing::PrintToString(Status());
}

TEST_F(BackgroundSync, ClosingTheWindowDuringARunEndsTheProgramAtOnce)
{
    REQUIRE_TEST_PEERS();
    m_settings.WriteText(Settings::Names::CurrentServer, TestPeers::kSilent);
    m_settings.WriteNumber(Settings::Names::SyncOnStart, 1);
    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.Start(L"Kavrin.exe", L""));
    const HWND window = kavrin.WaitForWindow(L"Kavrin", 20000);
    ASSERT_TRUE(window);
    const ULONGLONG closed = ::GetTickCount64();
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(ExitCodeOf(kavrin, 3000), 0);
    EXPECT_LT(::GetTickCount64() - closed, 1500u) << "no wait for the silent server";
}
