#include "controls/Label_win.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

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

    // A gradient runs from the left colour to the right one, the same down each column.
    label.SetText(L"");
    label.SetGradientColors(RGB(0, 0, 255), RGB(192, 192, 208));
    const CPixels gradient = CPixels::Print(hwnd, kMagenta);
    EXPECT_EQ(gradient.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(gradient.At(gradient.Width() - 1, 0), RGB(192, 192, 208));
    EXPECT_EQ(gradient.At(150, 0), gradient.At(150, gradient.Height() - 1));
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

} // namespace
