#pragma once
// One tooltip control for a dialog; the dialog relays its messages to it.

#include "framework/Handles.h"
#include "framework/Wnd.h"

#include <string>

class CToolTipCtrl
{
public:
    bool Create(HWND owner);
    void Activate(bool active) const;
    bool AddTool(HWND tool, const std::wstring& text) const;
    void RelayEvent(const MSG& msg) const;
    HWND GetSafeHwnd() const noexcept { return m_window.Get(); }

private:
    HWND m_hOwner = nullptr;
    CUniqueWindow m_window;
};
