#pragma once
// A window to put the drawing controls in, and pictures of what they draw.

#include "framework/Handles_win.h"
#include "framework/Wnd_win.h"

#include <optional>
#include <utility>
#include <vector>

// A top-level window that keeps each child's WM_COMMAND (id, code) and can answer WM_CTLCOLORSTATIC.
class CTestHost : public CWnd
{
public:
    explicit CTestHost(SIZE size = {480, 320});
    ~CTestHost() override { DestroyWindow(); }

    HWND Get() const noexcept { return m_hWnd; }
    // A child control with the dialog font, as a dialog template makes it.
    HWND AddChild(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect, int id);
    void Show();

    std::vector<std::pair<int, int>> commands;
    // Once set, the answer to WM_CTLCOLORSTATIC, with `staticText`.
    CUniqueBrush staticBrush;
    COLORREF staticText = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    CUniqueFont m_dialogFont;
};

// A top-down 32-bit bitmap in a memory DC, filled with one colour, its pixels readable at any time.
class CPixels
{
public:
    // What the control draws for WM_PRINTCLIENT over `underlay`.
    static CPixels Print(HWND hwnd, COLORREF underlay = RGB(255, 0, 255)) { return CPixels(hwnd, underlay, false); }
    // What the window shows on screen now.
    static CPixels Screen(HWND hwnd) { return CPixels(hwnd, RGB(0, 0, 0), true); }

    HDC Get() const noexcept { return m_dc.Get(); }
    int Width() const noexcept { return m_size.cx; }
    int Height() const noexcept { return m_size.cy; }
    COLORREF At(int x, int y) const noexcept;
    // Pixels within `tolerance` of `colour` in every channel, in all or in `area`.
    int Count(COLORREF colour, int tolerance = 0, std::optional<RECT> area = {}) const noexcept;
    // The smallest rectangle around the pixels of `colour`, if any.
    std::optional<RECT> Bounds(COLORREF colour, int tolerance = 0) const noexcept;

private:
    CPixels(SIZE size, COLORREF fill);
    CPixels(HWND hwnd, COLORREF underlay, bool onScreen);

    SIZE m_size;
    CUniqueMemoryDC m_dc;
    CUniqueBitmap m_bitmap;
    std::optional<CSelectObject> m_select;
    DWORD* m_bits = nullptr;
};

inline int ScreenDpi() { return ::GetDeviceCaps(CWindowDC(nullptr).Get(), LOGPIXELSY); }
