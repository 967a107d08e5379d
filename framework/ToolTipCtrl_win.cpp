#include "framework/ToolTipCtrl_win.h"

#include "framework/Module_win.h"

#include <commctrl.h>

namespace
{
TTTOOLINFOW ToolInfo(HWND tool, const std::wstring& text, UINT flags)
{
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | flags;
    info.hwnd = ::GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    // The control copies the text.
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    return info;
}
} // namespace

CToolTipCtrl::~CToolTipCtrl()
{
    Destroy();
}

void CToolTipCtrl::Destroy() noexcept
{
    // Subclassing tells the wrapper when the window goes: after that the
    // handle is null and there is nothing left to destroy.
    if (const HWND tooltip = Detach())
        ::DestroyWindow(tooltip);
}

bool CToolTipCtrl::Create(HWND owner, DWORD style)
{
    HWND tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | style,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
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

bool CToolTipCtrl::AddTool(HWND tool, const std::wstring& text, bool subclass) const
{
    TTTOOLINFOW info = ToolInfo(tool, text, subclass ? TTF_SUBCLASS : 0);
    return SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void CToolTipCtrl::UpdateTipText(HWND tool, const std::wstring& text) const
{
    TTTOOLINFOW info = ToolInfo(tool, text, 0);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::RelayEvent(const MSG& msg) const
{
    if (m_hWnd)
        SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}
