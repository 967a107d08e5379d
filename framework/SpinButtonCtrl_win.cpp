#include "framework/SpinButtonCtrl_win.h"

#include <commctrl.h>

void CSpinButtonCtrl::SetRange(int lower, int upper) const noexcept
{
    SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
}

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const noexcept
{
    SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
}

void CSpinButtonCtrl::SetBuddy(HWND buddy) const noexcept
{
    SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy));
}

HWND CSpinButtonCtrl::GetBuddy() const noexcept
{
    return reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY));
}

void CSpinButtonCtrl::SetPos(int position) const noexcept
{
    SendMessage(UDM_SETPOS32, 0, static_cast<LPARAM>(position));
}
