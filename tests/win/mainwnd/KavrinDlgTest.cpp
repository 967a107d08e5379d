// The synchronization window from template 102, driven by messages, against
// the local time servers.

#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "mainwnd/KavrinDlg_win.h"
#include "mainwnd/SyncReport.h"
#include "resources/resource.h"
#include "sntp/SntpSocket.h"
#include "tests/support/TestPeersGate.h"
#include "tests/support/win/ProcessRunner.h"
#include "tools/TestPeers.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <regex>
#include <string>

namespace
{
std::wstring ItemText(HWND list, int row, int column)
{
    wchar_t buffer[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 256;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

std::wstring DialogItemText(HWND dialog, int id)
{
    wchar_t buffer[512] = {};
    ::GetDlgItemTextW(dialog, id, buffer, 512);
    return buffer;
}

class KavrinDlgTest : public testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_TEST_PEERS();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
        ASSERT_TRUE(m_settings.OpenKey(Settings::kKeyPath, true));
        m_settings.WriteNumber(Settings::Names::SyncOnStart, 0);
        m_settings.WriteText(Settings::Names::CurrentServer, TestPeers::kChronyd);
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath); }

    // Creates the window as the program does, with what the registry holds.
    CKavrinDlg& OpenWindow()
    {
        EXPECT_TRUE(m_dialog.Create(nullptr));
        m_dialog.ShowWindow(SW_SHOWNORMAL);
        Pump();
        return m_dialog;
    }

    void Command(int id) const
    {
        ::SendMessageW(m_dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(m_dialog.GetDlgItem(id)));
        Pump();
    }

    static void Pump()
    {
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    HWND List() const { return m_dialog.GetDlgItem(IDC_RESULTS); }
    std::wstring Status() const { return DialogItemText(m_dialog.GetSafeHwnd(), IDC_STATUS); }
    int RowCount() const { return static_cast<int>(::SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }

    void ExpectSixRows() const
    {
        ASSERT_EQ(RowCount(), 6);
        const wchar_t* labels[] = {L"Client Originate Date", L"Server Receive Date", L"Server Transmit Date",
                                   L"Client Destination Date", L"Round trip delay", L"Local Clock offset"};
        const std::wregex date(LR"(\d\d/\d\d/\d{4}, \d\d:\d\d:\d\d\.\d{2,3})");
        const std::wregex seconds(LR"([+-]\d+\.\d{6} seconds)");
        for (int row = 0; row < 6; ++row)
        {
            EXPECT_EQ(ItemText(List(), row, 0), labels[row]);
            const std::wstring value = ItemText(List(), row, 1);
            EXPECT_TRUE(std::regex_match(value, row < 4 ? date : seconds))
                << "row " << row << ": " << testing::PrintToString(value);
        }
    }

    bool HasLastSyncDate(DWORD& size) const
    {
        size = 0;
        return ::RegGetValueW(HKEY_CURRENT_USER, Settings::kKeyPath, Settings::Names::LastSyncDate, RRF_RT_ANY, nullptr, nullptr,
                              &size) == ERROR_SUCCESS;
    }

    CSocketLayer m_sockets;
    CSettingsKey m_settings;
    CKavrinDlg m_dialog;
};
} // namespace

TEST_F(KavrinDlgTest, RunAgainstChronydFillsTheReportAndCorrectsTheClock)
{
    CKavrinDlg& dialog = OpenWindow();
    EXPECT_FALSE(dialog.GetTray().IsIconHidden()) << "the icon is added at set-up";
    Command(IDC_SYNCHRONIZE_NOW);

    ExpectSixRows();
    const std::wstring caption = DialogItemText(dialog.GetSafeHwnd(), IDC_SERVER_CAPTION);
    EXPECT_TRUE(caption == SyncReport::Caption(L"localhost") || caption == SyncReport::Caption(L"127.0.0.1"))
        << testing::PrintToString(caption);

    const std::wstring status = Status();
    EXPECT_TRUE(std::regex_match(status, std::wregex(LR"(Time Corrected by [+-]0\.\d{3} seconds at \d\d:\d\d:\d\d [AP]M)")))
        << testing::PrintToString(status);
    const CLabel& label = dialog.GetStatusLabel();
    EXPECT_EQ(label.GetTextColor(), RGB(0, 0, 255));
    EXPECT_EQ(label.GetBkColor(), RGB(192, 192, 0));
    EXPECT_TRUE(label.HasBorder());
    EXPECT_TRUE(dialog.IsSyncCompleted());
    EXPECT_NEAR(static_cast<double>(dialog.GetLastSyncTime()), static_cast<double>(std::time(nullptr)), 5.0);
    EXPECT_EQ(std::wstring(dialog.GetTray().GetIconData().szTip), status);

    DWORD size = 0;
    EXPECT_FALSE(HasLastSyncDate(size)) << "once a day is off";

    Command(IDC_SYNCHRONIZE_NOW);
    ExpectSixRows();
}

TEST_F(KavrinDlgTest, SilentServerKeepsTheEarlierReport)
{
    CKavrinDlg& dialog = OpenWindow();
    Command(IDC_SYNCHRONIZE_NOW);
    ExpectSixRows();
    const std::wstring firstOffset = ItemText(List(), 5, 1);
    const std::wstring caption = DialogItemText(dialog.GetSafeHwnd(), IDC_SERVER_CAPTION);

    dialog.ChangeServer(TestPeers::kSilent);
    Command(IDC_SYNCHRONIZE_NOW);
    EXPECT_EQ(Status(), L"Time was NOT successfully retrieved from NTP server (127.0.0.2)");
    EXPECT_EQ(RowCount(), 6);
    EXPECT_EQ(ItemText(List(), 5, 1), firstOffset);
    EXPECT_EQ(DialogItemText(dialog.GetSafeHwnd(), IDC_SERVER_CAPTION), caption);
    EXPECT_FALSE(dialog.IsSyncCompleted()) << "a run without a reply completes nothing";
}

TEST_F(KavrinDlgTest, OffsetOfAnHourOrMoreIsRefused)
{
    m_settings.WriteText(Settings::Names::CurrentServer, TestPeers::kPlus2h);
    m_settings.WriteNumber(Settings::Names::SyncOncePerDay, 1);
    CKavrinDlg& dialog = OpenWindow();
    Command(IDC_SYNCHRONIZE_NOW);

    EXPECT_EQ(Status(), SyncReport::kRefused);
    ExpectSixRows();
    EXPECT_TRUE(std::regex_match(ItemText(List(), 5, 1), std::wregex(LR"(\+7(19\d|200)\.\d{6} seconds)")));
    EXPECT_FALSE(dialog.GetStatusLabel().GetTextColor()) << "the colours stay as they were";
    EXPECT_FALSE(dialog.GetStatusLabel().HasBorder());
    EXPECT_FALSE(dialog.IsSyncCompleted());
    DWORD size = 0;
    EXPECT_FALSE(HasLastSyncDate(size));
    EXPECT_EQ(std::wstring(dialog.GetTray().GetIconData().szTip), L"Double-click to restore Kavrin.");
}

TEST_F(KavrinDlgTest, ClockThatCannotBeSetStillCompletesTheRun)
{
    m_settings.WriteText(Settings::Names::CurrentServer, TestPeers::kPlus10s);
    CKavrinDlg& dialog = OpenWindow();
    Command(IDC_SYNCHRONIZE_NOW);

    EXPECT_EQ(Status(), L"Synchronization failed.");
    ExpectSixRows();
    EXPECT_EQ(dialog.GetStatusLabel().GetTextColor(), RGB(0, 0, 255));
    EXPECT_TRUE(dialog.IsSyncCompleted());
    EXPECT_EQ(std::wstring(dialog.GetTray().GetIconData().szTip), L"Synchronization failed.");
}

TEST_F(KavrinDlgTest, OnceADayRunStoresTheDateThatTheNextStartHonours)
{
    m_settings.WriteNumber(Settings::Names::SyncOncePerDay, 1);
    OpenWindow();
    Command(IDC_SYNCHRONIZE_NOW);
    ASSERT_EQ(Status().rfind(L"Time Corrected by ", 0), 0u) << testing::PrintToString(Status());
    DWORD size = 0;
    ASSERT_TRUE(HasLastSyncDate(size));
    EXPECT_EQ(size, 12u);

    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.Start(L"Kavrin.exe", L""));
    DWORD exitCode = 99;
    const bool ended = kavrin.WaitForExit(10000, exitCode);
    if (!ended)
        kavrin.Close(kavrin.WaitForWindow(L"Kavrin", 1000));
    EXPECT_TRUE(ended);
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(KavrinDlgTest, SynchronizesOnStartWhenAsked)
{
    m_settings.WriteNumber(Settings::Names::SyncOnStart, 1);
    OpenWindow();
    ExpectSixRows();
    EXPECT_EQ(Status().rfind(L"Time Corrected by ", 0), 0u);
}

TEST_F(KavrinDlgTest, MinimizeToTrayAndRestore)
{
    CKavrinDlg& dialog = OpenWindow();
    ASSERT_TRUE(dialog.IsWindowVisible());
    Command(IDC_MINIMIZE_TO_TRAY);
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_TRUE(dialog.IsMinimizedToTray());
    Command(ID_TRAY_RESTORE);
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_FALSE(dialog.IsMinimizedToTray());
}

TEST_F(KavrinDlgTest, MinimizeAfterSyncHidesTheWindow)
{
    m_settings.WriteNumber(Settings::Names::MinimizeOnSync, 1);
    CKavrinDlg& dialog = OpenWindow();
    Command(IDC_SYNCHRONIZE_NOW);
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_TRUE(dialog.IsMinimizedToTray());
}

TEST_F(KavrinDlgTest, TrayIconGoesWithTheWindow)
{
    CKavrinDlg& dialog = OpenWindow();
    EXPECT_FALSE(dialog.GetTray().IsIconRemoved());
    Command(ID_APP_EXIT);
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(dialog.GetResult(), 0);
    ::DestroyWindow(dialog.GetSafeHwnd());
    EXPECT_TRUE(dialog.GetTray().IsIconRemoved());
}

TEST_F(KavrinDlgTest, FirstRunWithoutSettingsKeepsInitialValues)
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
    CKavrinDlg& dialog = OpenWindow();
    EXPECT_TRUE(dialog.GetSettings().SyncOnStart);
    EXPECT_EQ(dialog.GetSettings().CurrentServer, L"");
    EXPECT_EQ(DialogItemText(dialog.GetSafeHwnd(), IDC_EXIT_AFTER_SYNC), L"Exit after time synchronization");
}

TEST_F(KavrinDlgTest, HeaderNamesTheServerAndItsRegion)
{
    m_settings.WriteNumber(Settings::Names::TimeToExit, 90500);
    m_settings.WriteText(Settings::Names::CurrentServer, L"CA.pool.ntp.org");
    CKavrinDlg& dialog = OpenWindow();
    const std::wstring header = DialogItemText(dialog.GetSafeHwnd(), IDC_HEADER);
    EXPECT_NE(header.find(L"\nSelected NTP Pool Project Virtual Server:\nCA.pool.ntp.org - Unspecified"),
              std::wstring::npos)
        << testing::PrintToString(header);
    EXPECT_EQ(DialogItemText(dialog.GetSafeHwnd(), IDC_EXIT_AFTER_SYNC), L"Exit 90 seconds following synchronization");
}
