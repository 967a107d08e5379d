#pragma once
// A progress bar (msctls_progress32) of a dialog.

#include "framework/Wnd_win.h"

class CProgressCtrl : public CWnd
{
public:
    void SetRange(int lower, int upper) const noexcept;
    void SetPos(int position) const noexcept;
};
