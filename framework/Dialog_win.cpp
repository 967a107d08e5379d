#include "framework/Dialog_win.h"

#include "framework/CallbackGuard_win.h"
#include "framework/Handles_win.h"
#include "framework/WinApp_win.h"

#include <commctrl.h>

namespace
{
// The window that a modal dialog disables: the owner itself, or the
// top-level window that holds it when the owner is a child.
HWND TopLevelOwner(HWND owner) noexcept
{
    while (owner && (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetParent(owner);
    return owner;
}

// Re-enables the owner before the dialog is hidden and destroyed, so that
// activation goes back to the owner rather than to another program; runs
// on every way out of DoModal.
class CModalScope
{
public:
    CModalScope(CDialog& dialog, HWND owner) noexcept
        : m_dialog(dialog), m_hOwner(owner), m_bDisabled(owner && ::IsWindowEnabled(owner))
    {
        if (m_bDisabled)
            ::EnableWindow(m_hOwner, FALSE);
    }
    ~CModalScope()
    {
        if (m_bDisabled)
            ::EnableWindow(m_hOwner, TRUE);
        const HWND dialog = m_dialog.GetSafeHwnd();
        if (!dialog || !::IsWindow(dialog))
            return;
        if (m_hOwner && ::GetActiveWindow() == dialog)
            ::SetActiveWindow(m_hOwner);
        ::SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        m_dialog.DestroyDialogWindow();
    }
    CModalScope(const CModalScope&) = delete;
    CModalScope& operator=(const CModalScope&) = delete;

private:
    CDialog& m_dialog;
    HWND m_hOwner;
    bool m_bDisabled;
};
} // namespace

CDialog::~CDialog()
{
    DestroyDialogWindow();
}

void CDialog::DestroyDialogWindow() noexcept
{
    if (!IsWindow())
        return;
    const HWND hwnd = Detach();
    ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    ::DestroyWindow(hwnd);
}

bool CDialog::Create(HWND parent)
{
    m_bEnded = false;
    m_bHiddenInInit = false;
    m_nResult = -1;
    HWND hwnd = ::CreateDialogParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nTemplateId), parent, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

INT_PTR CDialog::DoModal(HWND owner)
{
    const HWND topOwner = TopLevelOwner(owner);
    m_bModal = true;
    const struct CModalFlag
    {
        bool& modal;
        ~CModalFlag() { modal = false; }
    } modalFlag{m_bModal};
    const CModalScope scope(*this, topOwner);
    if (!Create(topOwner))
        return -1;
    if (!m_bEnded && !m_bHiddenInInit)
        CWnd::ShowWindow(SW_SHOWNORMAL);
    RunModalLoop();
    return m_bEnded ? m_nResult : -1;
}

void CDialog::RunModalLoop()
{
    MSG msg{};
    while (!m_bEnded && IsWindow())
    {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0)
        {
            // Hand the quit request on to the loop outside this one.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (got == -1)
            return;
        if (PreTranslateMessage(msg))
            continue;
        if (!::IsDialogMessageW(m_hWnd, &msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void CDialog::EndDialog(INT_PTR result) noexcept
{
    m_nResult = result;
    m_bEnded = true;
    // A modal dialog is hidden by DoModal, once its owner is enabled again.
    if (!m_bModal && IsWindow())
        CWnd::ShowWindow(SW_HIDE);
    // Wake the modal loop if it waits in GetMessage.
    ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

bool CDialog::ShowWindow(int command) noexcept
{
    if (m_bInInit)
        m_bHiddenInInit = command == SW_HIDE;
    return CWnd::ShowWindow(command);
}

// The one place that keeps commands from acting underneath an open modal
// dialog. While a dialog or message box runs modally over this window, the
// window is disabled, but commands can still reach it: a notification
// icon's menu posts them, and timers keep firing. Such a command must not
// run underneath the open dialog (a second copy of the dialog, the window
// ending under its child): the open dialog is brought to the front and the
// command is ignored.
bool CDialog::DeferToOpenModal() const noexcept
{
    if (!m_hWnd || ::IsWindowEnabled(m_hWnd))
        return false;
    const HWND popup = ::GetLastActivePopup(m_hWnd);
    if (popup && popup != m_hWnd)
        ::SetForegroundWindow(popup);
    return true;
}

bool CDialog::PaintIconWhenMinimized(HICON icon) const noexcept
{
    if (!::IsIconic(m_hWnd))
        return false;
    const CPaintDC paint(m_hWnd);
    const RECT client = GetClientRect();
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(paint.Get(), x, y, icon);
    return true;
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

LRESULT CDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    const LRESULT result = DefWindowProc(msg, wp, lp);
    if (msg == WM_SHOWWINDOW)
        OnShowWindow(wp != FALSE, static_cast<UINT>(lp));
    return result;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_INITDIALOG)
    {
        auto* dialog = reinterpret_cast<CDialog*>(lp);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        // Seeing the window's messages ahead of the dialog manager gives the
        // handlers that must run after the system's own processing.
        if (!dialog->SubclassWindow(hwnd))
            dialog->m_hWnd = hwnd;
    }
    auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!dialog)
        return FALSE;
    if (msg == WM_NCDESTROY)
    {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        return FALSE;
    }
    INT_PTR answer = FALSE;
    if (!CallbackGuard([&] { answer = dialog->HandleMessage(msg, wp, lp); }))
    {
        // A dialog that could not set itself up is of no use: it ends as
        // one that could not be created.
        if (msg == WM_INITDIALOG)
        {
            dialog->m_bInInit = false;
            dialog->EndDialog(-1);
        }
        return FALSE;
    }
    return answer;
}

// Most answers travel through DWLP_MSGRESULT with TRUE for "handled"; the
// messages below are answered through the procedure's own return value.
INT_PTR CDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg)
    {
    case WM_INITDIALOG:
    {
        m_bInInit = true;
        const bool focus = OnInitDialog();
        m_bInInit = false;
        return focus ? TRUE : FALSE;
    }
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    {
        LRESULT result = 0;
        return OnMessage(msg, wp, lp, result) ? static_cast<INT_PTR>(result) : FALSE;
    }
    case WM_COMMAND:
        // Menus, accelerators and posted commands carry no control.
        if (lp == 0 && DeferToOpenModal())
            return TRUE;
        return Answer(OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)), 0);
    case WM_SYSCOMMAND:
        if (DeferToOpenModal())
            return TRUE;
        return Answer(OnSysCommand(static_cast<UINT>(wp), lp), 0);
    case WM_DRAWITEM:
        return Answer(OnDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp)), TRUE);
    case WM_TIMER:
        return Answer(OnTimer(wp), 0);
    case WM_PAINT:
        return Answer(OnPaint(), 0);
    case WM_NOTIFY:
    {
        LRESULT result = 0;
        const bool handled = OnNotify(*reinterpret_cast<NMHDR*>(lp), result);
        return Answer(handled, result);
    }
    default:
    {
        LRESULT result = 0;
        const bool handled = OnMessage(msg, wp, lp, result);
        return Answer(handled, result);
    }
    }
}

INT_PTR CDialog::Answer(bool handled, LRESULT result) noexcept
{
    if (!handled)
        return FALSE;
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}
