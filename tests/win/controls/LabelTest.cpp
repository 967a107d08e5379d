#include "controls/Label_win.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
constexpr int kLabelId = 1006;
constexpr COLORREF kMagenta = RGB(255, 0, 255), kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);
constexpr int kTextTolerance = 24; // anti-aliased text is near its colour

class LabelTest : public ::testing::Test
{
protected:
    HWND Add(const wchar_t* text, SIZE size = {240, 40})
    {
        HWND hwnd = host.AddChild(L"Static", text, SS_LEFT, RECT{10, 10, 10 + size.cx, 10 + size.cy}, kLabelId);
        EXPECT_TRUE(label.SubclassDlgItem(host.Get(), kLabelId));
        return hwnd;
    }

    CTestHost host;
    CLabel label;
};

TEST_F(LabelTest, ColoursComeFromTheDialogUntilSet)
{
    const COLORREF dialogBack = RGB(10, 20, 30), dialogText = RGB(250, 120, 40), olive = RGB(192, 192, 0);
    host.staticBrush.Reset(::CreateSolidBrush(dialogBack));
    host.staticText = dialogText;
    HWND hwnd = Add(L"Time Corrected by +0.045 seconds at 01:03:00 PM");
    const CPixels dialogColours = CPixels::Print(hwnd);
    EXPECT_EQ(dialogColours.At(0, 0), dialogBack);
    EXPECT_GT(dialogColours.Count(dialogText, kTextTolerance), 20);

    label.SetTextColor(kWhite).SetBkColor(olive);
    const CPixels pixels = CPixels::Print(hwnd);
    EXPECT_EQ(pixels.At(pixels.Width() - 1, pixels.Height() - 1), olive);
    EXPECT_GT(pixels.Count(kWhite, kTextTolerance), 20);
}

TEST_F(LabelTest, GradientRunsHorizontallyFromTheLeftColourToTheRightColour)
{
    HWND hwnd = Add(L"", {300, 30});
    label.SetGradientColors(RGB(0, 0, 255), RGB(192, 192, 208));
    const CPixels pixels = CPixels::Print(hwnd, kMagenta);
    EXPECT_EQ(pixels.At(0, 15), RGB(0, 0, 255));
    EXPECT_EQ(pixels.At(pixels.Width() - 1, 15), RGB(192, 192, 208));
    EXPECT_EQ(pixels.At(150, 0), pixels.At(150, pixels.Height() - 1)) << "the same colour down each column";
}

TEST_F(LabelTest, BorderFramesTheEdgeOnlyWhileItIsOn)
{
    const COLORREF navy = RGB(0, 0, 128);
    HWND hwnd = Add(L"", {120, 30});
    label.SetBkColor(navy);
    for (const bool border : {true, false})
    {
        label.SetBorder(border);
        const CPixels pixels = CPixels::Print(hwnd);
        const COLORREF edge = border ? ::GetSysColor(COLOR_WINDOWFRAME) : navy;
        EXPECT_EQ(pixels.At(pixels.Width() - 1, pixels.Height() - 1), edge) << border;
        EXPECT_EQ(pixels.At(1, 1), navy) << "one pixel wide";
    }
}

// At 144 DPI (see DisplayDpiTest) the heights scale with the display.
TEST_F(LabelTest, FontTakesFaceSizeAndStylesOverTheDialogFont)
{
    HWND hwnd = Add(L"Exit in 42 seconds");
    struct Step { std::function<void()> set; int points; LONG weight; bool italic, underline; const wchar_t* face; };
    const Step steps[] = {
        {[&] { label.SetFontSize(14).SetFontBold(true); }, 14, FW_BOLD, false, false, L"MS Shell Dlg"},
        {[&] { label.SetFontItalic(true).SetFontUnderline(true); }, 14, FW_BOLD, true, true, L"MS Shell Dlg"},
        {[&] { label.SetFontName(L"Arial").SetFontBold(false); }, 14, FW_NORMAL, true, true, L"Arial"},
    };
    for (const Step& step : steps)
    {
        step.set();
        const LOGFONTW font = Describe(reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)));
        EXPECT_EQ(font.lfHeight, -ScreenPixelsFromPoints(step.points));
        EXPECT_EQ(font.lfWeight, step.weight);
        EXPECT_EQ(font.lfItalic != 0, step.italic);
        EXPECT_EQ(font.lfUnderline != 0, step.underline);
        EXPECT_STREQ(font.lfFaceName, step.face);
    }
}

TEST_F(LabelTest, TextBreaksAtNewlinesAndWrapsAtWords)
{
    HWND hwnd = Add(L"One", {120, 120});
    label.SetBkColor(kWhite).SetTextColor(kBlack);
    const auto bounds = [&] { return CPixels::Print(hwnd).Bounds(kBlack, 128); };
    const auto oneLine = bounds();
    label.SetText(L"One\nOne\nOne");
    const auto threeLines = bounds();
    label.SetText(L"Time was NOT successfully retrieved from NTP server");
    const auto wrapped = bounds();
    ASSERT_TRUE(oneLine && threeLines && wrapped);
    EXPECT_GT(threeLines->bottom - threeLines->top, 2 * (oneLine->bottom - oneLine->top));
    EXPECT_GT(wrapped->bottom - wrapped->top, 2 * (oneLine->bottom - oneLine->top));
}

TEST_F(LabelTest, EverySetterAndEveryNewTextRedraws)
{
    HWND hwnd = Add(L"Static");
    host.Show();
    const std::function<void()> changes[] = {
        [&] { label.SetText(L"Time Server:\tpool.ntp.org"); }, [&] { ::SetWindowTextW(hwnd, L"Exit in 41 seconds"); },
        [&] { label.SetTextColor(RGB(0, 0, 255)); }, [&] { label.SetBkColor(RGB(255, 0, 0)); },
        [&] { label.SetGradientColors(RGB(0, 0, 255), RGB(192, 192, 208)); }, [&] { label.SetBorder(true); },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i)
    {
        ::UpdateWindow(hwnd);
        changes[i]();
        EXPECT_TRUE(::GetUpdateRect(hwnd, nullptr, FALSE)) << "change " << i;
    }
}
} // namespace
