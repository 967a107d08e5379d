// The synchronization window from template 102, driven by messages, against the local time servers: its
// report, the exchange beside it, and a set-up that fails.

#include "MainWindowTestSupport_win.h"
#include "framework/CallbackGuard_win.h"
#include "mainwnd/SyncReport.h"
#include "tests/support/win/ShellIcon.h"

#include <commctrl.h>

namespace
{
std::wstring Cell(HWND list, int row, int column)
{
    wchar_t text[256] = {};
    ListView_GetItemText(list, row, column, text, 256);
    return text;
}

class CFailingKavrinDlg final : public CKavrinDlg
{
protected:
    bool OnInitDialog() override
    {
        CKavrinDlg::OnInitDialog();
        m_hTrayWindow = GetTray().GetIconData().hWnd;
        throw std::runtime_error("set-up failed");
    }

public:
    HWND m_hTrayWindow = nullptr;
};

class KavrinDlgTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        REQUIRE_TEST_PEERS();
        MainWindowTest::SetUp();
    }

    HWND List() const { return m_dialog.GetDlgItem(IDC_RESULTS); }
    std::wstring Caption() const { return Text(m_dialog.GetSafeHwnd(), IDC_SERVER_CAPTION); }
    std::wstring Tip() const { return m_dialog.GetTray().GetIconData().szTip; }

    // The labels and their order are SyncReportTest's.
    void ExpectSixRows() const
    {
        ASSERT_EQ(ListView_GetItemCount(List()), 6);
        const std::wregex date(LR"(\d\d/\d\d/\d{4}, \d\d:\d\d:\d\d\.\d{2,3})");
        const std::wregex seconds(LR"([+-]\d+\.\d{6} seconds)");
        for (int row = 0; row < 6; ++row)
            EXPECT_TRUE(std::regex_match(Cell(List(), row, 1), row < 4 ? date : seconds)) << "row " << row;
    }
};
} // namespace

TEST_F(KavrinDlgTest, ChronydRunFillsTheReportASilentServerKeepsItAndTheIconGoesWithTheWindow)
{
    CKavrinDlg& dialog = Open();
    EXPECT_FALSE(dialog.GetTray().IsIconHidden()) << "the icon is added at set-up";
    EXPECT_EQ(Caption(), L"") << "nothing to describe before the first exchange";
    const LRESULT icon = dialog.SendMessage(WM_GETICON, ICON_BIG);
    EXPECT_TRUE(icon != 0 && dialog.SendMessage(WM_QUERYDRAGICON) == icon) << "the program's icon, also when dragged";
    const std::wstring status = Command(IDC_SYNCHRONIZE_NOW);
    ExpectSixRows();
    const std::wstring caption = Caption();
    EXPECT_TRUE(caption == SyncReport::Caption(L"localhost") || caption == SyncReport::Caption(L"127.0.0.1"))
        << testing::PrintToString(caption);
    EXPECT_TRUE(ShowsCorrection(status)) << testing::PrintToString(status);
    EXPECT_TRUE(dialog.GetStatusLabel().HasBorder()) << "a run that reached the clock marks the status";
    EXPECT_TRUE(dialog.IsSyncCompleted());
    EXPECT_NEAR(static_cast<double>(dialog.GetLastSyncTime()), static_cast<double>(std::time(nullptr)), 5.0);
    EXPECT_EQ(Tip(), status);
    EXPECT_FALSE(HasValue(Settings::Names::LastSyncDate)) << "once a day is off";

    // A second run replaces the rows; a silent server leaves them.
    Command(IDC_SYNCHRONIZE_NOW);
    ExpectSixRows();
    const std::wstring offset = Cell(List(), 5, 1);
    EXPECT_EQ(Synchronize(TestPeers::kSilent), SyncReport::NoReply(TestPeers::kSilent));
    EXPECT_EQ(ListView_GetItemCount(List()), 6);
    EXPECT_EQ(Cell(List(), 5, 1), offset);
    EXPECT_EQ(Caption(), caption);
    EXPECT_FALSE(dialog.IsSyncCompleted()) << "a run without a reply completes nothing";

    EXPECT_FALSE(dialog.GetTray().IsIconRemoved());
    Command(ID_APP_EXIT);
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(dialog.GetResult(), 0);
    ::DestroyWindow(dialog.GetSafeHwnd());
    EXPECT_TRUE(dialog.GetTray().IsIconRemoved());
}

TEST_F(KavrinDlgTest, OffsetOfAnHourIsRefusedAndAClockThatCannotBeSetStillCompletesTheRun)
{
    m_settings.WriteText(Settings::Names::CurrentServer, TestPeers::kPlus2h);
    m_settings.WriteNumber(Settings::Names::SyncOncePerDay, 1);
    CKavrinDlg& dialog = Open();
    EXPECT_EQ(Command(IDC_SYNCHRONIZE_NOW), SyncReport::kRefused);
    ExpectSixRows();
    EXPECT_TRUE(std::regex_match(Cell(List(), 5, 1), std::wregex(LR"(\+7(19\d|200)\.\d{6} seconds)")));
    EXPECT_FALSE(dialog.GetStatusLabel().HasBorder()) << "the status stays unmarked";
    EXPECT_FALSE(dialog.IsSyncCompleted());
    EXPECT_FALSE(HasValue(Settings::Names::LastSyncDate));
    EXPECT_EQ(Tip(), L"Double-click to restore Kavrin.");

    EXPECT_EQ(Synchronize(TestPeers::kPlus10s), L"Synchronization failed.");
    ExpectSixRows();
    EXPECT_TRUE(std::regex_match(Cell(List(), 5, 1), std::wregex(LR"(\+(9|10)\.\d{6} seconds)")));
    EXPECT_TRUE(dialog.GetStatusLabel().HasBorder() && dialog.IsSyncCompleted());
    EXPECT_EQ(Tip(), L"Synchronization failed.");
}

TEST_F(KavrinDlgTest, OnceADayRunStoresTheDateThatTheNextStartHonours)
{
    m_settings.WriteNumber(Settings::Names::SyncOncePerDay, 1);
    Open();
    ASSERT_TRUE(ShowsCorrection(Command(IDC_SYNCHRONIZE_NOW))) << testing::PrintToString(Status());
    DWORD size = 0;
    ASSERT_TRUE(HasValue(Settings::Names::LastSyncDate, &size));
    EXPECT_EQ(size, 12u);

    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.Start(L"Kavrin.exe", L""));
    EXPECT_EQ(ExitCodeOf(kavrin, 10000), 0);
}

TEST_F(KavrinDlgTest, MinimizeAfterSyncHidesTheWindow)
{
    m_settings.WriteNumber(Settings::Names::MinimizeOnSync, 1);
    CKavrinDlg& dialog = Open();
    Command(IDC_SYNCHRONIZE_NOW);
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_TRUE(dialog.IsMinimizedToTray());
}

// The server line of the header is checked with every command (KavrinCommandsTest).
TEST_F(KavrinDlgTest, ExitLabelShowsTheStoredDelayAndAFirstRunKeepsInitialValues)
{
    m_settings.WriteNumber(Settings::Names::TimeToExit, 90500);
    EXPECT_EQ(Text(Open().GetSafeHwnd(), IDC_EXIT_AFTER_SYNC), SyncReport::ExitAfterSyncText(90500));

    ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
    CKavrinDlg first;
    ASSERT_TRUE(first.Create(nullptr));
    EXPECT_TRUE(first.GetSettings().SyncOnStart);
    EXPECT_EQ(first.GetSettings().CurrentServer, L"");
    EXPECT_EQ(Text(first.GetSafeHwnd(), IDC_EXIT_AFTER_SYNC), L"Exit after time synchronization");
}

TEST_F(KavrinDlgTest, TheClockTicksWhileARunWaitsAndASecondRequestStartsNothing)
{
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

TEST_F(KavrinDlgTest, EveryAddressIsAskedAndTheFirstGoodAnswerWins)
{
    Open();
    const ULONGLONG started = ::GetTickCount64();
    ASSERT_TRUE(ShowsCorrection(Synchronize(TestPeers::kSilentThenGood))) << testing::PrintToString(Status());
    EXPECT_LT(::GetTickCount64() - started, 1500u);
    EXPECT_EQ(Caption(), SyncReport::Caption(TestPeers::kNameGoodHost)) << "the address that answered";

    EXPECT_TRUE(ShowsCorrection(Synchronize(TestPeers::kLossy))) << testing::PrintToString(Status());
    EXPECT_TRUE(ShowsCorrection(Synchronize(TestPeers::kGoodIpv6))) << testing::PrintToString(Status());
}

TEST_F(KavrinDlgTest, ClosingTheWindowDuringARunEndsTheProgramAtOnce)
{
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

TEST_F(KavrinDlgTest, AnExceptionDuringSetUpIsReportedAndEndsTheWindowWithItsIcon)
{
    std::vector<std::wstring> reports;
    SetExceptionReporter([&](const std::wstring& text) { reports.push_back(text); });
    CFailingKavrinDlg window;
    const INT_PTR result = window.DoModal();
    SetExceptionReporter({});

    EXPECT_EQ(result, -1);
    EXPECT_EQ(reports, std::vector<std::wstring>{L"set-up failed"});
    EXPECT_FALSE(window.IsWindow());
    ASSERT_NE(window.m_hTrayWindow, nullptr) << "the icon was there before the failure";
    EXPECT_FALSE(ShellHasIcon(window.m_hTrayWindow, CSystemTray::kIconId));
}
