#pragma once
// The small frame that shows whether the once-a-day option is on: a sun
// marked 1/d, or the same crossed out. The bitmap is centred on the control
// and clipped by it.

#include "framework/Wnd_win.h"

class COncePerDayIndicator : public CWnd
{
public:
    void SetOn(bool on);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Paint(HDC dc) const;

    bool m_bOn = false;
};
