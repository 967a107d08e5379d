#include "controls/XGroupBox_win.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kGroupId = 1053;
constexpr COLORREF kUnderlay = RGB(255, 0, 255);

class XGroupBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        hwnd = host.AddChild(L"Button", L"Automatically Close Kavrin", BS_GROUPBOX, RECT{10, 10, 330, 110}, kGroupId);
        ASSERT_TRUE(group.SubclassDlgItem(host.Get(), kGroupId));
    }
    RECT TitleRect() { return group.GetTitleRect(CWindowDC(hwnd).Get()); }

    CTestHost host;
    HWND hwnd = nullptr;
    CXGroupBox group;
};

TEST_F(XGroupBoxTest, ClassicFrameHasTheBoldTitleCutIn)
{
    const RECT plain = TitleRect();
    group.SetThemeAllowed(false).SetBoldTitle();
    const RECT title = TitleRect();
    EXPECT_GT(title.right - title.left, plain.right - plain.left) << "a bold title is wider";
    const CPixels pixels = CPixels::Print(hwnd, kUnderlay);
    const COLORREF frame = pixels.At(0, pixels.Height() / 2);
    EXPECT_NE(frame, kUnderlay);
    EXPECT_EQ(pixels.At(pixels.Width() / 2, pixels.Height() / 2), kUnderlay) << "the inside is the dialog's";
    EXPECT_EQ(pixels.At(title.right + 2, (title.top + title.bottom) / 2), frame) << "the top line";
    EXPECT_GT(pixels.Count(::GetSysColor(COLOR_BTNTEXT), 24, title), 30);
    EXPECT_EQ(pixels.Count(frame, 0, title), 0) << "no frame line through the title";
}

TEST_F(XGroupBoxTest, ThemedFrameComesFromTheVisualStyle)
{
    ASSERT_TRUE(CUxThemeApi::Process().IsLoaded()) << "start-up loads UxTheme.dll";
    if (!CUxThemeApi::Process().IsActive())
        GTEST_SKIP() << "no visual style is active on this system";
    ASSERT_TRUE(group.IsThemed());
    const CPixels themed = CPixels::Print(hwnd, kUnderlay);
    EXPECT_NE(themed.At(0, themed.Height() / 2), kUnderlay) << "a frame on the left";
    EXPECT_EQ(themed.At(themed.Width() / 2, themed.Height() / 2), kUnderlay) << "the inside is the dialog's";
}
} // namespace
