// The notification area's commands must not act under a modal dialog of the main window.

#include "MainWindowTestSupport_win.h"
#include "framework/Dialog_win.h"
#include "framework/WinApp_win.h"
#include "tests/support/win/ModalDriver.h"
#include "tests/support/win/TestDialogRes.h"

using TrayReentrancy = MainWindowTest;

TEST_F(TrayReentrancy, TrayCommandsWaitWhileAModalDialogOfTheWindowIsOpen)
{
    m_settings.WriteText(Settings::Names::CurrentServer, TestPeers::kNothingListening);
    CWinApp app(L"TrayReentrancyTest");
    app.m_pMainWnd = &m_dialog;
    const HWND main = Open().GetSafeHwnd();
    const std::wstring idleStatus = Status();

    // Hidden in the tray under an open dialog: no tray command acts, and the dialog comes to the front.
    Command(IDC_MINIMIZE_TO_TRAY);
    ASSERT_TRUE(m_dialog.IsMinimizedToTray());
    EXPECT_FALSE(m_dialog.IsWindowVisible());
    CDialog nested(IDD_FRAMEWORK_TEST);
    HWND nestedWindow = nullptr, foregroundAfter = nullptr;
    const CModalDriver driver([&] {
        if (nestedWindow || !nested.GetSafeHwnd()) // the driver's timer can come again inside Pump()
            return false;
        nestedWindow = nested.GetSafeHwnd();
        for (const UINT command : {ID_TRAY_SYNCHRONIZE_NOW, ID_TRAY_RESTORE, ID_APP_ABOUT, ID_APP_EXIT})
            ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        Pump();
        foregroundAfter = ::GetForegroundWindow();
        nested.EndDialog(IDOK);
        return true;
    });
    EXPECT_EQ(nested.DoModal(main), IDOK);
    EXPECT_EQ(Status(), idleStatus) << "no synchronisation ran";
    EXPECT_TRUE(m_dialog.IsMinimizedToTray()) << "not restored";
    EXPECT_FALSE(m_dialog.IsEnded()) << "not ended";
    EXPECT_EQ(foregroundAfter, nestedWindow);

    // Once the dialog is closed, the same commands act again.
    ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(ID_TRAY_RESTORE, 0), 0);
    ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(ID_TRAY_SYNCHRONIZE_NOW, 0), 0);
    Pump();
    EXPECT_FALSE(m_dialog.IsMinimizedToTray());
    EXPECT_TRUE(m_dialog.IsWindowVisible());
    EXPECT_NE(Status(), idleStatus);
    app.m_pMainWnd = nullptr;
}
