#include "framework/ToolTipCtrl.h"

#include "framework/WinApp.h"

#include <commctrl.h>

bool CToolTipCtrl::Create(HWND owner)
{
    m_hOwner = owner;
    m_window.Reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                     AfxGetInstanceHandle(), nullptr));
    return m_window.IsValid();
}

void CToolTipCtrl::Activate(bool active) const
{
    ::SendMessageW(m_window.Get(), TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

bool CToolTipCtrl::AddTool(HWND tool, const std::wstring& text) const
{
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = m_hOwner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    return ::SendMessageW(m_window.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void CToolTipCtrl::RelayEvent(const MSG& msg) const
{
    if (m_window)
        ::SendMessageW(m_window.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}
