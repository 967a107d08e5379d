#include "controls/DrawnControl_win.h"

#include "controls/BufferDC_win.h"
#include "framework/Handles_win.h"

#include <windowsx.h>

void CDrawnControl::ReadBaseFont() noexcept
{
    if (m_bBaseFontRead || !m_hWnd)
        return;
    // Asked of the control itself: our own WM_GETFONT answers with the result.
    m_font.SetBase(reinterpret_cast<HFONT>(DefWindowProc(WM_GETFONT, 0, 0)));
    m_bBaseFontRead = true;
}

HFONT CDrawnControl::GetFont() noexcept
{
    ReadBaseFont();
    return m_font.Get(m_hWnd);
}

void CDrawnControl::SelectOwnFont(HDC hdc) noexcept
{
    ReadBaseFont();
    if (HFONT font = m_font.Get(hdc))
        ::SelectObject(hdc, font);
}

void CDrawnControl::Redraw() noexcept
{
    // InvalidateRect with no window would repaint every window on the desktop.
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

HBRUSH CDrawnControl::DialogBrush(HDC hdc) const noexcept
{
    HBRUSH brush = nullptr;
    if (HWND parent = ::GetParent(m_hWnd))
    {
        brush = reinterpret_cast<HBRUSH>(
            ::SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(m_hWnd)));
    }
    return brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE);
}

void CDrawnControl::BeginClick() noexcept
{
    m_bPressed = true;
    ::SetCapture(m_hWnd);
}

bool CDrawnControl::EndClick(LPARAM lp) noexcept
{
    if (!m_bPressed)
        return false;
    m_bPressed = false;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    // Signed: with the mouse captured, the point may be left of or above the control.
    const POINT point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    const RECT client = GetClientRect();
    return ::PtInRect(&client, point) != FALSE;
}

LRESULT CDrawnControl::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg)
    {
    case WM_PAINT:
    {
        const CPaintDC paint(m_hWnd);
        if (!paint.Get())
            return 0;
        if (m_painting == Painting::Direct)
        {
            Draw(paint.Get());
            return 0;
        }
        CBufferDC buffer(paint.Get(), GetClientRect());
        Draw(buffer.Get());
        return 0;
    }
    case WM_PRINTCLIENT:
        Draw(reinterpret_cast<HDC>(wp));
        return 0;
    case WM_ERASEBKGND:
        if (m_painting == Painting::Buffered)
            return TRUE;
        break;
    case WM_SETTEXT:
    case WM_UPDATEUISTATE:
    {
        // The control would draw itself straight away in its own style;
        // store the change without it and repaint ours.
        const LRESULT result = ::DefWindowProcW(m_hWnd, msg, wp, lp);
        Redraw();
        return result;
    }
    case WM_ENABLE:
        // The control would draw itself greyed at once.
        Redraw();
        return 0;
    case WM_SETFONT:
        m_font.SetBase(reinterpret_cast<HFONT>(wp));
        m_bBaseFontRead = true;
        DefWindowProc(WM_SETFONT, wp, FALSE);
        if (LOWORD(lp))
            Redraw();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(GetFont());
    case WM_CAPTURECHANGED:
        m_bPressed = false;
        break;
    default:
        break;
    }
    return DefWindowProc(msg, wp, lp);
}
