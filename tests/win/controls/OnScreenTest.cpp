#include "controls/HyperLink_win.h"
#include "controls/Label_win.h"
#include "controls/XGroupBox_win.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

namespace
{
// A label and a link, which paint through an off-screen buffer, and a group
// box, which paints straight, set up as the main window does and painted
// through WM_PAINT on a shown window.
TEST(OnScreenTest, ControlsPaintThemselvesOnAShownWindow)
{
    // Positions are for 96 pixels per inch and scale like a dialog template's.
    const auto scale = [](LONG pixels) { return ::MulDiv(pixels, ScreenDpi(), 96); };
    CTestHost host({scale(370), scale(160)});
    int id = 100;
    const auto add = [&](auto& control, const wchar_t* className, const wchar_t* text, DWORD style, const RECT& r) {
        host.AddChild(className, text, style, {scale(r.left), scale(r.top), scale(r.right), scale(r.bottom)}, ++id);
        EXPECT_TRUE(control.SubclassDlgItem(host.Get(), id));
        return control.GetSafeHwnd();
    };
    CLabel header;
    CXGroupBox exitGroup;
    CHyperLink web;
    const HWND headerWnd = add(header, L"Static", L"Wednesday March 06, 2024\nca.pool.ntp.org - Canada", SS_LEFT,
                               {10, 10, 360, 44});
    header.SetTextColor(RGB(255, 255, 0)).SetBkColor(RGB(0, 0, 128)).SetBorder(true).SetFontSize(9);
    const HWND groupWnd = add(exitGroup, L"Button", L"Automatically Close Kavrin", BS_GROUPBOX, {10, 50, 360, 110});
    exitGroup.SetBoldTitle(true);
    const HWND webWnd = add(web, L"Button", L"https://www.kavrin.example", BS_PUSHBUTTON, {10, 120, 360, 146});
    web.SetColors(RGB(0, 0, 255), RGB(0, 128, 0), RGB(128, 0, 0)).SetVisited(true);

    host.Show();
    ::RedrawWindow(host.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();

    const CPixels headerPixels = CPixels::Screen(headerWnd);
    EXPECT_EQ(headerPixels.At(0, 0), ::GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(headerPixels.At(1, 1), RGB(0, 0, 128));
    EXPECT_GT(headerPixels.Count(RGB(255, 255, 0), 24), 50);
    const CPixels groupPixels = CPixels::Screen(groupWnd);
    EXPECT_NE(groupPixels.At(0, groupPixels.Height() / 2), groupPixels.At(5, groupPixels.Height() / 2))
        << "the group's frame on the left";
    EXPECT_GT(CPixels::Screen(webWnd).Count(RGB(128, 0, 0), 24), 20) << "the visited colour";
}
} // namespace
