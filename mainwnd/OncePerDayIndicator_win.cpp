#include "mainwnd/OncePerDayIndicator_win.h"

#include "framework/Handles_win.h"
#include "framework/WinApp_win.h"
#include "resources/KavrinDlgRes.h"

void COncePerDayIndicator::SetOn(bool on)
{
    m_bOn = on;
    Invalidate();
    ::UpdateWindow(m_hWnd);
}

LRESULT COncePerDayIndicator::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg != WM_PAINT)
        return DefWindowProc(msg, wp, lp);
    const CPaintDC paint(m_hWnd);
    Paint(paint.Get());
    return 0;
}

void COncePerDayIndicator::Paint(HDC dc) const
{
    const UINT bitmapId = m_bOn ? IDB_ONCE_PER_DAY_ON : IDB_ONCE_PER_DAY_OFF;
    CUniqueBitmap bitmap(::LoadBitmapW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(bitmapId)));
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap.Get(), sizeof info, &info))
        return;
    CUniqueMemoryDC memory(::CreateCompatibleDC(dc));
    CSelectObject selected(memory.Get(), bitmap.Get());
    const RECT client = GetClientRect();
    ::BitBlt(dc, (client.right - info.bmWidth) / 2, (client.bottom - info.bmHeight) / 2, info.bmWidth, info.bmHeight,
             memory.Get(), 0, 0, SRCCOPY);
}
