#pragma once
// A tooltip control for the child windows of one dialog. It belongs to its
// owner window, which destroys it with itself; the wrapper destroys it only
// while it still exists.

#include "framework/Wnd_win.h"

#include <string>

class CToolTipCtrl : public CWnd
{
public:
    ~CToolTipCtrl() override;

    // `style` adds TTS_* styles to an always-shown pop-up.
    bool Create(HWND owner, DWORD style = 0);
    void Destroy() noexcept;
    void Activate(bool active) const;
    // A tip for the child window `tool`. With `subclass` the tooltip watches
    // the tool's mouse itself; otherwise the dialog relays its messages.
    bool AddTool(HWND tool, const std::wstring& text, bool subclass = false) const;
    void UpdateTipText(HWND tool, const std::wstring& text) const;
    void RelayEvent(const MSG& msg) const;
};
