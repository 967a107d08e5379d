#pragma once
// An up-down (spin) control bound to a dialog item: its range, position
// and the buddy window whose text it sets.

#include "framework/Wnd_win.h"

class CSpinButtonCtrl : public CWnd
{
public:
    void SetRange(int lower, int upper) const noexcept;
    // The range as the control holds it.
    void GetRange(int& lower, int& upper) const noexcept;
    void SetBuddy(HWND buddy) const noexcept;
    HWND GetBuddy() const noexcept;
    void SetPos(int position) const noexcept;
};
