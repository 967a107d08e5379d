#include "ControlTestSupport.h"

#include <algorithm>
#include <cstdlib>

CTestHost::CTestHost(SIZE size)
    // "MS Shell Dlg" at 8 points, the font of the program's dialog templates.
    : m_dialogFont(::CreateFontW(-ScreenPixelsFromPoints(8), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                 L"MS Shell Dlg"))
{
    RECT frame{0, 0, size.cx, size.cy};
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    ::OffsetRect(&frame, 40 - frame.left, 40 - frame.top);
    CreateEx(0, L"Kavrin controls", WS_OVERLAPPEDWINDOW, frame, nullptr);
}

HWND CTestHost::AddChild(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect, int id)
{
    HWND child = ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                   nullptr);
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_dialogFont.Get()), FALSE);
    return child;
}

void CTestHost::AnswerCtlColorStatic(COLORREF background, COLORREF text)
{
    m_staticBrush.Reset(::CreateSolidBrush(background));
    m_staticText = text;
}

void CTestHost::Show()
{
    ShowWindow(SW_SHOWNORMAL);
    ::UpdateWindow(m_hWnd);
    PumpMessages();
}

LRESULT CTestHost::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND)
    {
        commands.emplace_back(LOWORD(wp), HIWORD(wp));
        return 0;
    }
    if (msg == WM_CTLCOLORSTATIC && m_staticBrush)
    {
        ::SetTextColor(reinterpret_cast<HDC>(wp), m_staticText);
        return reinterpret_cast<LRESULT>(m_staticBrush.Get());
    }
    return DefWindowProc(msg, wp, lp);
}

CTestSurface::CTestSurface(SIZE size, COLORREF fill) : m_size(size), m_dc(::CreateCompatibleDC(nullptr))
{
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    m_bitmap.Reset(::CreateDIBSection(m_dc.Get(), &info, DIB_RGB_COLORS, &m_bits, nullptr, 0));
    m_select.emplace(m_dc.Get(), m_bitmap.Get());
    const RECT all{0, 0, size.cx, size.cy};
    ::FillRect(m_dc.Get(), &all, CUniqueBrush(::CreateSolidBrush(fill)).Get());
}

CPixels CTestSurface::Snapshot() const
{
    ::GdiFlush();
    CPixels pixels;
    pixels.m_width = m_size.cx;
    pixels.m_height = m_size.cy;
    const auto* bits = static_cast<const DWORD*>(m_bits);
    for (size_t i = 0; bits && i < static_cast<size_t>(m_size.cx) * static_cast<size_t>(m_size.cy); ++i)
        pixels.m_pixels.push_back(RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF));
    return pixels;
}

CPixels CPixels::Print(HWND hwnd, COLORREF underlay)
{
    RECT client{};
    ::GetClientRect(hwnd, &client);
    const CTestSurface surface({client.right, client.bottom}, underlay);
    ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.Get()), PRF_CLIENT);
    return surface.Snapshot();
}

CPixels CPixels::Screen(HWND hwnd)
{
    RECT client{};
    ::GetClientRect(hwnd, &client);
    const CTestSurface surface({client.right, client.bottom}, RGB(0, 0, 0));
    ::BitBlt(surface.Get(), 0, 0, client.right, client.bottom, CWindowDC(hwnd).Get(), 0, 0, SRCCOPY);
    return surface.Snapshot();
}

COLORREF CPixels::At(int x, int y) const noexcept
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || m_pixels.empty())
        return CLR_INVALID;
    return m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
}

int CPixels::CountIn(const RECT& area, COLORREF colour, int tolerance) const noexcept
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += At(x, y) != CLR_INVALID && Near(At(x, y), colour, tolerance) ? 1 : 0;
    return count;
}

std::optional<RECT> CPixels::Bounds(COLORREF colour, int tolerance) const noexcept
{
    std::optional<RECT> bounds;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (Near(At(x, y), colour, tolerance))
                bounds = RECT{std::min<LONG>(bounds ? bounds->left : x, x), bounds ? bounds->top : y,
                              std::max<LONG>(bounds ? bounds->right : 0, x + 1), y + 1};
    return bounds;
}

bool Near(COLORREF a, COLORREF b, int tolerance) noexcept
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

int ScreenDpi()
{
    return ::GetDeviceCaps(CWindowDC(nullptr).Get(), LOGPIXELSY);
}

int ScreenPixelsFromPoints(int points)
{
    return ::MulDiv(points, ScreenDpi(), 72);
}

LOGFONTW Describe(HFONT font)
{
    LOGFONTW description{};
    ::GetObjectW(font, sizeof description, &description);
    return description;
}

void PumpMessages()
{
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}
