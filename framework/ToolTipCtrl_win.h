#pragma once
// One tooltip control for a dialog; the dialog relays its messages to it.
// The tooltip belongs to the dialog's window, which destroys it with
// itself; the wrapper destroys it only while it still exists.

#include "framework/Wnd_win.h"

#include <string>

class CToolTipCtrl : public CWnd
{
public:
    ~CToolTipCtrl() override;

    bool Create(HWND owner);
    void Activate(bool active) const;
    bool AddTool(HWND tool, const std::wstring& text) const;
    void RelayEvent(const MSG& msg) const;

private:
    HWND m_hOwner = nullptr;
};
