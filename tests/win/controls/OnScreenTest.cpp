#include "controls/HyperLink.h"
#include "controls/Label.h"
#include "controls/XGroupBox.h"

#include "ControlTestSupport.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

namespace
{
// Positions are for 96 pixels per inch and scale like a dialog template's.
RECT Scaled(const RECT& rect)
{
    const auto scale = [](LONG pixels) { return ::MulDiv(pixels, ScreenPixelsFromPoints(72), 96); };
    return {scale(rect.left), scale(rect.top), scale(rect.right), scale(rect.bottom)};
}

// The controls as the main window and the About box set them up, painted
// through WM_PAINT on a shown window.
TEST(OnScreenTest, ControlsPaintThemselvesOnAShownWindow)
{
    const RECT size = Scaled({0, 0, 370, 420});
    CTestHost host({size.right, size.bottom});
    const auto Add = [&](const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect, int id) {
        host.AddChild(className, text, style, Scaled(rect), id);
        return id;
    };
    const HWND dialog = host.Get();

    CLabel header, caption, status, clock, countdown;
    std::array<CLabel, 5> markers;
    CXGroupBox exitGroup;
    CHyperLink web;

    header.Attach(dialog, Add(L"Static", L"Wednesday March 06, 2024\nSelected NTP Pool Project Virtual Server:\n"
                                         L"ca.pool.ntp.org - Canada", SS_LEFT, {10, 10, 360, 58}, 100));
    header.SetTextColor(RGB(255, 255, 0)).SetBkColor(RGB(0, 0, 128)).SetBorder(true);

    caption.Attach(dialog, Add(L"Static", L"Static", SS_LEFT, {10, 62, 360, 96}, 101));
    caption.SetGradientColors(RGB(0, 0, 255), RGB(192, 192, 208)).SetTextColor(RGB(255, 255, 0)).SetFontSize(9);
    caption.SetText(L"Time Server:\tca.pool.ntp.org\nTime Format:\tDay/Month/Year Hour/Minute/Second (GMT)");

    status.Attach(dialog, Add(L"Static", L"System Time not synced", SS_LEFT, {10, 100, 360, 134}, 102));
    status.SetTextColor(RGB(0, 0, 255)).SetBkColor(RGB(192, 192, 0)).SetBorder(true);
    status.SetText(L"Time Corrected by +0.045 seconds at 01:03:00 PM");

    clock.Attach(dialog, Add(L"Static", L"Static", SS_CENTER, {10, 138, 360, 180}, 103));
    clock.SetBkColor(RGB(255, 255, 255)).SetFontSize(26).SetFontBold(true).SetTextColor(RGB(0, 0, 160));
    clock.SetText(L"1:03:58 PM");

    const std::array<const wchar_t*, 5> seconds{L"56", L"57", L"58", L"59", L"0"};
    for (int i = 0; i < 5; ++i)
    {
        CLabel& marker = markers[static_cast<size_t>(i)];
        marker.Attach(dialog, Add(L"Static", seconds[static_cast<size_t>(i)], SS_CENTER,
                                  {10 + 71 * i, 184, 76 + 71 * i, 220}, 104 + i));
        marker.SetFontSize(18).SetBkColor(i < 3 ? RGB(255, 0, 0) : ::GetSysColor(COLOR_BTNFACE));
    }

    exitGroup.Attach(dialog, Add(L"Button", L"Automatically Close Kavrin", BS_GROUPBOX, {10, 226, 360, 308}, 110));
    exitGroup.SetBoldTitle(true);
    Add(L"Button", L"Exit after time synchronization", BS_AUTOCHECKBOX, {22, 248, 300, 268}, 111);
    countdown.Attach(dialog, Add(L"Static", L"Exit in xxx seconds", SS_LEFT, {22, 272, 300, 300}, 112));
    countdown.SetText(L"").SetTextColor(RGB(160, 0, 0)).SetFontBold(true).SetFontSize(14);
    countdown.SetText(L"Exit in 42 seconds");

    web.Attach(dialog, Add(L"Button", L"https://www.kavrin.example", BS_PUSHBUTTON, {10, 316, 360, 342}, 113));
    web.SetTarget(L"https://www.kavrin.example").SetToolTip(L"https://www.kavrin.example");
    web.SetFontName(L"Arial").SetFontWeight(500).SetBkColor(::GetSysColor(COLOR_BTNFACE));
    web.SetColors(RGB(0, 0, 255), RGB(0, 128, 0), RGB(128, 0, 0)).SetVisited(true);
    web.SetIconResource(::GetModuleHandleW(nullptr), IDR_MAINFRAME);

    host.Show();
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();

    const CPixels headerPixels = CPixels::Screen(header.GetSafeHwnd());
    EXPECT_EQ(headerPixels.At(0, 0), ::GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(headerPixels.At(1, 1), RGB(0, 0, 128));
    EXPECT_GT(headerPixels.Count(RGB(255, 255, 0), 24), 50);

    const CPixels captionPixels = CPixels::Screen(caption.GetSafeHwnd());
    const int bottom = captionPixels.Height() - 1;
    EXPECT_EQ(captionPixels.At(0, bottom), RGB(0, 0, 255));
    EXPECT_EQ(captionPixels.At(captionPixels.Width() - 1, bottom), RGB(192, 192, 208));

    const auto digits = CPixels::Screen(clock.GetSafeHwnd()).Bounds(RGB(0, 0, 160), 24);
    ASSERT_TRUE(digits);
    EXPECT_GE(digits->bottom - digits->top, ScreenPixelsFromPoints(26) / 2) << "26 pt digits";

    EXPECT_EQ(CPixels::Screen(markers[0].GetSafeHwnd()).At(2, 2), RGB(255, 0, 0));
    EXPECT_GT(CPixels::Screen(countdown.GetSafeHwnd()).Count(RGB(160, 0, 0), 24), 30);
    EXPECT_GT(CPixels::Screen(web.GetSafeHwnd()).Count(RGB(128, 0, 0), 24), 20) << "visited colour";

    // Set KAVRIN_SHOW_CONTROLS_MS to keep the window up for a look or a screenshot.
    if (const char* linger = std::getenv("KAVRIN_SHOW_CONTROLS_MS"))
    {
        const DWORD end = ::GetTickCount() + static_cast<DWORD>(std::atoi(linger));
        while (static_cast<int>(end - ::GetTickCount()) > 0)
        {
            PumpMessages();
            ::Sleep(20);
        }
    }
}
} // namespace
