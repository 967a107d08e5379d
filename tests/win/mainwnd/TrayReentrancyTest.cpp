// The notification area's commands while one of the main window's modal
// dialogs is open: they must not act underneath it.

#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "framework/Dialog_win.h"
#include "framework/WinApp_win.h"
#include "mainwnd/KavrinDlg_win.h"
#include "resources/resource.h"
#include "sntp/SntpSocket.h"
#include "tests/support/win/TestDialogRes.h"
#include "tools/TestPeers.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace
{
// A modal dialog that runs `whileOpen` from a timer once it is up, then ends.
class CNestedDialog final : public CDialog
{
public:
    explicit CNestedDialog(std::function<void(HWND self)> whileOpen)
        : CDialog(IDD_FRAMEWORK_TEST), m_whileOpen(std::move(whileOpen))
    {
    }

protected:
    bool OnInitDialog() override
    {
        ::SetTimer(m_hWnd, 1, 10, nullptr);
        return true;
    }
    bool OnTimer(UINT_PTR id) override
    {
        ::KillTimer(m_hWnd, id);
        m_whileOpen(m_hWnd);
        EndDialog(IDOK);
        return true;
    }

private:
    std::function<void(HWND)> m_whileOpen;
};

void PumpPosted()
{
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::wstring Status(const CKavrinDlg& dialog)
{
    wchar_t text[512] = {};
    ::GetDlgItemTextW(dialog.GetSafeHwnd(), IDC_STATUS, text, 512);
    return text;
}
} // namespace

TEST(TrayReentrancy, TrayCommandsWaitWhileAModalDialogOfTheWindowIsOpen)
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
    {
        CSettingsKey store;
        StoreNumber(store, Settings::Names::SyncOnStart, 0);
        ASSERT_TRUE(store.WriteText(Settings::Names::CurrentServer, TestPeers::kNothingListening));
    }
    CWinApp app(L"TrayReentrancyTest");
    CSocketLayer sockets;
    CKavrinDlg main;
    app.m_pMainWnd = &main;
    ASSERT_TRUE(main.Create(nullptr));
    main.ShowWindow(SW_SHOWNORMAL);
    PumpPosted();
    const std::wstring idleStatus = Status(main);

    // Hidden in the tray, with a dialog open over it: none of the commands
    // of the tray menu may act, and the open dialog comes to the front.
    ::SendMessageW(main.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_MINIMIZE_TO_TRAY, BN_CLICKED),
                   reinterpret_cast<LPARAM>(main.GetDlgItem(IDC_MINIMIZE_TO_TRAY)));
    ASSERT_TRUE(main.IsMinimizedToTray());
    HWND foregroundAfter = nullptr;
    HWND nestedWindow = nullptr;
    CNestedDialog nested([&](HWND self) {
        nestedWindow = self;
        for (const UINT command : {ID_TRAY_SYNCHRONIZE_NOW, ID_TRAY_RESTORE, ID_APP_ABOUT, ID_APP_EXIT})
            ::PostMessageW(main.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
        PumpPosted();
        foregroundAfter = ::GetForegroundWindow();
    });
    EXPECT_EQ(nested.DoModal(main.GetSafeHwnd()), IDOK);
    EXPECT_EQ(Status(main), idleStatus) << "no synchronisation ran";
    EXPECT_TRUE(main.IsMinimizedToTray()) << "not restored";
    EXPECT_FALSE(main.IsEnded()) << "not ended";
    EXPECT_EQ(foregroundAfter, nestedWindow);

    // Once the dialog is closed, the same commands act again.
    ::PostMessageW(main.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(ID_TRAY_RESTORE, 0), 0);
    ::PostMessageW(main.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(ID_TRAY_SYNCHRONIZE_NOW, 0), 0);
    PumpPosted();
    EXPECT_FALSE(main.IsMinimizedToTray());
    EXPECT_NE(Status(main), idleStatus);
    app.m_pMainWnd = nullptr;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
}
