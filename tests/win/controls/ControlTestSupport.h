#pragma once
// A top-level window to put controls in, and pictures of what they draw,
// for the tests of the drawing controls.

#include "framework/Handles_win.h"
#include "framework/Wnd_win.h"

#include <optional>
#include <utility>
#include <vector>

// A plain top-level window that keeps the (id, notification code) of each
// WM_COMMAND from its children and can answer WM_CTLCOLORSTATIC itself.
class CTestHost : public CWnd
{
public:
    explicit CTestHost(SIZE size = {480, 320});
    ~CTestHost() override { DestroyWindow(); }

    HWND Get() const noexcept { return m_hWnd; }
    // A child control with the dialog font, as a dialog template makes it.
    HWND AddChild(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect, int id);
    void AnswerCtlColorStatic(COLORREF background, COLORREF text);
    // Shows the window and runs its pending paints.
    void Show();

    std::vector<std::pair<int, int>> commands;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    CUniqueFont m_dialogFont;
    CUniqueBrush m_staticBrush;
    COLORREF m_staticText = 0;
};

// The pixels of a client area or of a test surface.
class CPixels
{
public:
    // What the control draws for WM_PRINTCLIENT over `underlay`.
    static CPixels Print(HWND hwnd, COLORREF underlay = RGB(255, 0, 255));
    // What the window shows on screen now.
    static CPixels Screen(HWND hwnd);

    int Width() const noexcept { return m_width; }
    int Height() const noexcept { return m_height; }
    COLORREF At(int x, int y) const noexcept;
    // Pixels within `tolerance` of `colour` in every channel, in all or in `area`.
    int Count(COLORREF colour, int tolerance = 0) const noexcept
    {
        return CountIn({0, 0, m_width, m_height}, colour, tolerance);
    }
    int CountIn(const RECT& area, COLORREF colour, int tolerance = 0) const noexcept;
    // The smallest rectangle around the pixels of `colour`, if any.
    std::optional<RECT> Bounds(COLORREF colour, int tolerance = 0) const noexcept;

private:
    friend class CTestSurface;
    int m_width = 0;
    int m_height = 0;
    std::vector<COLORREF> m_pixels;
};

// A top-down 32-bit bitmap in a memory DC, first filled with one colour.
class CTestSurface
{
public:
    CTestSurface(SIZE size, COLORREF fill);

    HDC Get() const noexcept { return m_dc.Get(); }
    HBITMAP GetBitmap() const noexcept { return m_bitmap.Get(); }
    CPixels Snapshot() const;

private:
    SIZE m_size;
    CUniqueMemoryDC m_dc;
    CUniqueBitmap m_bitmap;
    std::optional<CSelectObject> m_select;
    void* m_bits = nullptr;
};

bool Near(COLORREF a, COLORREF b, int tolerance) noexcept;
int ScreenDpi();
// The pixels of a font's character height for `points` on this display.
int ScreenPixelsFromPoints(int points);
LOGFONTW Describe(HFONT font);
// Runs the messages waiting for this thread's windows.
void PumpMessages();
