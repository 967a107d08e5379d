#include "framework/ProgressCtrl_win.h"

#include <commctrl.h>

void CProgressCtrl::SetRange(int lower, int upper) const noexcept
{
    SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
}

void CProgressCtrl::SetPos(int position) const noexcept
{
    SendMessage(PBM_SETPOS, static_cast<WPARAM>(position));
}
