#include "reset/ResetKavrinStartApp_win.h"

#include "framework/DllSearch_win.h"
#include "reset/ResetKavrinStartDlg_win.h"

#include <commctrl.h>

bool CResetKavrinStartApp::InitInstance()
{
    m_richEdit.Reset(LoadSystemLibrary(L"Riched20.dll"));
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_COOL_CLASSES |
                                      ICC_INTERNET_CLASSES | ICC_PAGESCROLLER_CLASS | ICC_NATIVEFNTCTL_CLASS |
                                      ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
    ::InitCommonControlsEx(&controls);
    SetRegistryKey(L"Halvanworks/Kavrin");

    CResetKavrinStartDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return false;
}
