#pragma once
// A top-level window to put controls in, and a picture of what a control
// draws, for the tests of the drawing controls.

#include "controls/ShellOpen.h"
#include "framework/Handles.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// A plain top-level window with button-face background that keeps the
// WM_COMMAND notifications its children send, and can answer
// WM_CTLCOLORSTATIC with a brush and text colour of its own.
class CTestHost
{
public:
    explicit CTestHost(SIZE size = {480, 320});
    ~CTestHost();
    CTestHost(const CTestHost&) = delete;
    CTestHost& operator=(const CTestHost&) = delete;

    HWND Get() const noexcept { return m_hwnd; }
    // A child control with the dialog font of the host, as a template makes it.
    HWND AddChild(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect, int id);
    void AnswerCtlColorStatic(COLORREF background, COLORREF text);
    // Shows the window and runs its pending paints.
    void Show();

    struct Command
    {
        int id;
        int code;
        HWND control;
    };
    std::vector<Command> commands;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND m_hwnd = nullptr;
    CUniqueFont m_dialogFont;
    CUniqueBrush m_staticBrush;
    COLORREF m_staticText = 0;
};

class CPixels;

// A top-down 32-bit bitmap in a memory DC, to draw on and look at.
class CTestSurface
{
public:
    CTestSurface(SIZE size, COLORREF fill);
    CTestSurface(const CTestSurface&) = delete;
    CTestSurface& operator=(const CTestSurface&) = delete;

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

// 32-bit pixels of a control's client area.
class CPixels
{
public:
    // What the control draws for WM_PRINTCLIENT on a surface first filled with `underlay`.
    static CPixels Print(HWND hwnd, COLORREF underlay = RGB(255, 0, 255));
    // What the window shows on screen now.
    static CPixels Screen(HWND hwnd);
    // What `draw` puts on a surface of `size` first filled with `underlay`.
    static CPixels Draw(SIZE size, COLORREF underlay, const std::function<void(HDC)>& draw);

    int Width() const noexcept { return m_width; }
    int Height() const noexcept { return m_height; }
    COLORREF At(int x, int y) const noexcept;
    int Count(COLORREF colour, int tolerance = 0) const noexcept;
    int CountIn(const RECT& area, COLORREF colour, int tolerance = 0) const noexcept;
    // The smallest rectangle around the pixels of `colour`; nullopt when there are none.
    std::optional<RECT> Bounds(COLORREF colour, int tolerance = 0) const noexcept;

private:
    friend class CTestSurface;
    int m_width = 0;
    int m_height = 0;
    std::vector<COLORREF> m_pixels;
};

// Stands in for the shell: keeps the targets that a link asked to open.
struct COpenRecorder
{
    struct Call
    {
        HWND owner;
        std::wstring target;
    };
    std::vector<Call> calls;

    LinkOpener Opener()
    {
        return [this](HWND owner, const std::wstring& target) {
            calls.push_back({owner, target});
            return true;
        };
    }
};

// Whether two colours differ by at most `tolerance` in every channel.
bool Near(COLORREF a, COLORREF b, int tolerance) noexcept;
// The pixels of a font's character height for `points` on this display.
int ScreenPixelsFromPoints(int points);
// The description of a font.
LOGFONTW Describe(HFONT font);
// Runs the messages waiting for this thread's windows.
void PumpMessages();
