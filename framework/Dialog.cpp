#include "framework/Dialog.h"

#include "framework/WinApp.h"

#include <commctrl.h>

CDialog::~CDialog()
{
    if (IsWindow())
        ::DestroyWindow(m_hWnd);
}

bool CDialog::Create(HWND parent)
{
    m_bEnded = false;
    m_nResult = -1;
    HWND hwnd = ::CreateDialogParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nTemplateId), parent, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

INT_PTR CDialog::DoModal(HWND parent)
{
    const bool disableParent = parent && ::IsWindowEnabled(parent);
    if (disableParent)
        ::EnableWindow(parent, FALSE);

    INT_PTR result = -1;
    if (Create(parent) && RunModalLoop())
        result = m_nResult;

    if (disableParent)
        ::EnableWindow(parent, TRUE);
    if (parent && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(parent);
    if (IsWindow())
        ::DestroyWindow(m_hWnd);
    return result;
}

bool CDialog::RunModalLoop()
{
    // Like the system's own modal dialogs, show the window once set-up is
    // done, unless set-up already ended it.
    if (!m_bEnded && !IsWindowVisible())
        ShowWindow(SW_SHOWNORMAL);

    MSG msg{};
    while (!m_bEnded && IsWindow())
    {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0)
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got == -1)
            return false;
        if (PreTranslateMessage(msg))
            continue;
        if (!::IsDialogMessageW(m_hWnd, &msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return m_bEnded;
}

void CDialog::EndDialog(INT_PTR result) noexcept
{
    m_nResult = result;
    m_bEnded = true;
    if (IsWindow())
        ShowWindow(SW_HIDE);
    // Wake the modal loop if it waits in GetMessage.
    ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

bool CDialog::PreTranslateMessage(MSG&)
{
    return false;
}

bool CDialog::OnCommand(int id, int, HWND)
{
    switch (id)
    {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

bool CDialog::OnNotify(NMHDR&, LRESULT&) { return false; }
bool CDialog::OnDrawItem(DRAWITEMSTRUCT&) { return false; }
bool CDialog::OnTimer(UINT_PTR) { return false; }
bool CDialog::OnSysCommand(UINT, LPARAM) { return false; }
bool CDialog::OnPaint() { return false; }
bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_INITDIALOG)
    {
        auto* dialog = reinterpret_cast<CDialog*>(lp);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        dialog->m_hWnd = hwnd;
    }
    auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!dialog)
        return FALSE;
    if (msg == WM_NCDESTROY)
    {
        dialog->m_hWnd = nullptr;
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        return FALSE;
    }
    try
    {
        return dialog->HandleMessage(msg, wp, lp);
    }
    catch (...)
    {
        // No exception crosses the system's dialog procedure.
        return FALSE;
    }
}

INT_PTR CDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg)
    {
    case WM_INITDIALOG:
        return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)) ? TRUE : FALSE;
    case WM_DRAWITEM:
        return OnDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp)) ? TRUE : FALSE;
    case WM_TIMER:
        return OnTimer(wp) ? TRUE : FALSE;
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wp), lp) ? TRUE : FALSE;
    case WM_PAINT:
        return OnPaint() ? TRUE : FALSE;
    default:
        return Dispatch(msg, wp, lp);
    }
}

INT_PTR CDialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT result = 0;
    bool handled = false;
    if (msg == WM_NOTIFY)
        handled = OnNotify(*reinterpret_cast<NMHDR*>(lp), result);
    else
        handled = OnMessage(msg, wp, lp, result);
    if (!handled)
        return FALSE;
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}
