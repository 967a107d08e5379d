#include "framework/ToolTipCtrl_win.h"

#include "framework/WinApp_win.h"

#include <commctrl.h>

CToolTipCtrl::~CToolTipCtrl()
{
    // Subclassing tells the wrapper when the window goes: after that the
    // handle is null and there is nothing left to destroy.
    if (const HWND tooltip = Detach())
        ::DestroyWindow(tooltip);
}

bool CToolTipCtrl::Create(HWND owner)
{
    m_hOwner = owner;
    HWND tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                     AfxGetInstanceHandle(), nullptr);
    if (!tooltip)
        return false;
    if (!SubclassWindow(tooltip))
    {
        ::DestroyWindow(tooltip);
        return false;
    }
    return true;
}

void CToolTipCtrl::Activate(bool active) const
{
    SendMessage(TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

bool CToolTipCtrl::AddTool(HWND tool, const std::wstring& text) const
{
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = m_hOwner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    return SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void CToolTipCtrl::RelayEvent(const MSG& msg) const
{
    if (m_hWnd)
        SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}
