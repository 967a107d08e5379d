#include "ControlTestSupport.h"

#include <algorithm>
#include <cstdlib>

CTestHost::CTestHost(SIZE size)
    // "MS Shell Dlg" at 8 points, the font of the program's dialog templates.
    : m_dialogFont(::CreateFontW(-::MulDiv(8, ScreenDpi(), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                 L"MS Shell Dlg"))
{
    CreateEx(0, L"Kavrin controls", WS_POPUP, RECT{40, 40, 40 + size.cx, 40 + size.cy}, nullptr);
}

HWND CTestHost::AddChild(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect, int id)
{
    HWND child = ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_dialogFont.Get()), FALSE);
    return child;
}

void CTestHost::Show()
{
    ShowWindow(SW_SHOWNORMAL);
    ::UpdateWindow(m_hWnd);
    for (MSG msg{}; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
        ::DispatchMessageW(&msg);
}

LRESULT CTestHost::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND)
        commands.emplace_back(LOWORD(wp), HIWORD(wp));
    if (msg == WM_CTLCOLORSTATIC && staticBrush)
    {
        ::SetTextColor(reinterpret_cast<HDC>(wp), staticText);
        return reinterpret_cast<LRESULT>(staticBrush.Get());
    }
    return msg == WM_COMMAND ? 0 : DefWindowProc(msg, wp, lp);
}

CPixels::CPixels(SIZE size, COLORREF fill) : m_size(size), m_dc(::CreateCompatibleDC(nullptr))
{
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    m_bitmap.Reset(
        ::CreateDIBSection(m_dc.Get(), &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0));
    m_select.emplace(m_dc.Get(), m_bitmap.Get());
    const RECT all{0, 0, size.cx, size.cy};
    ::FillRect(m_dc.Get(), &all, CUniqueBrush(::CreateSolidBrush(fill)).Get());
}

CPixels::CPixels(HWND hwnd, COLORREF underlay, bool onScreen)
    : CPixels([hwnd] { RECT c{}; ::GetClientRect(hwnd, &c); return SIZE{c.right, c.bottom}; }(), underlay)
{
    if (onScreen)
        ::BitBlt(Get(), 0, 0, Width(), Height(), CWindowDC(hwnd).Get(), 0, 0, SRCCOPY);
    else
        ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(Get()), PRF_CLIENT);
}

COLORREF CPixels::At(int x, int y) const noexcept
{
    if (x < 0 || y < 0 || x >= m_size.cx || y >= m_size.cy || !m_bits)
        return CLR_INVALID;
    ::GdiFlush();
    const DWORD pixel = m_bits[static_cast<size_t>(y) * static_cast<size_t>(m_size.cx) + static_cast<size_t>(x)];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int CPixels::Count(COLORREF colour, int tolerance, std::optional<RECT> area) const noexcept
{
    const RECT r = area.value_or(RECT{0, 0, m_size.cx, m_size.cy});
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
        {
            const COLORREF c = At(x, y);
            count += c != CLR_INVALID && std::abs(GetRValue(c) - GetRValue(colour)) <= tolerance &&
                     std::abs(GetGValue(c) - GetGValue(colour)) <= tolerance &&
                     std::abs(GetBValue(c) - GetBValue(colour)) <= tolerance;
        }
    return count;
}

std::optional<RECT> CPixels::Bounds(COLORREF colour, int tolerance) const noexcept
{
    std::optional<RECT> bounds;
    for (int y = 0; y < m_size.cy; ++y)
        for (int x = 0; x < m_size.cx; ++x)
            if (Count(colour, tolerance, RECT{x, y, x + 1, y + 1}))
                bounds = RECT{std::min<LONG>(bounds ? bounds->left : x, x), bounds ? bounds->top : y,
                              std::max<LONG>(bounds ? bounds->right : 0, x + 1), y + 1};
    return bounds;
}
