#include "controls/XGroupBox_win.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

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

TEST_F(XGroupBoxTest, BoldTitleKeepsTheSizeOfTheDialogFont)
{
    EXPECT_EQ(Describe(group.GetFont()).lfWeight, FW_NORMAL);
    const RECT plain = TitleRect();
    group.SetBoldTitle();
    const LOGFONTW font = Describe(reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(font.lfHeight, -ScreenPixelsFromPoints(8));
    EXPECT_STREQ(font.lfFaceName, L"MS Shell Dlg");
    const RECT bold = TitleRect();
    EXPECT_GT(bold.right - bold.left, plain.right - plain.left) << "a bold title is wider";
    group.SetBoldTitle(false);
    EXPECT_EQ(Describe(group.GetFont()).lfWeight, FW_NORMAL);
}

TEST_F(XGroupBoxTest, ClassicFrameIsEtchedWithTheTitleCutIn)
{
    const CUxThemeApi none(nullptr);
    EXPECT_FALSE(none.IsLoaded() || none.IsActive());
    // Classic when told so, and without the theme library.
    for (const bool allowed : {false, true})
    {
        group.SetThemeAllowed(allowed).SetThemeApi(allowed ? none : CUxThemeApi::Process()).SetBoldTitle();
        EXPECT_FALSE(group.IsThemed());
        const CPixels pixels = CPixels::Print(hwnd, kUnderlay);
        const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
        const int middle = pixels.Height() / 2, right = pixels.Width() - 1;
        for (const auto& [x, y, colour] : {std::tuple{0, middle, shadow}, {1, middle, light},
                                           {right - 1, middle, shadow}, {right, middle, light},
                                           {right / 2, pixels.Height() - 2, shadow}})
            EXPECT_EQ(pixels.At(x, y), colour) << x << "," << y;
        EXPECT_EQ(pixels.At(right / 2, middle), kUnderlay) << "the inside is the dialog's";
        // The title sits on the top line, on the dialog's background, in the dialog's text colour.
        const RECT title = TitleRect();
        ASSERT_FALSE(::IsRectEmpty(&title));
        EXPECT_EQ(title.top, 0);
        const int line = (title.top + title.bottom) / 2;
        EXPECT_EQ(pixels.At(title.left - 2, line), shadow) << "the top line left of the title";
        EXPECT_EQ(pixels.At(title.right + 2, line), shadow) << "and right of it";
        EXPECT_GT(pixels.CountIn(title, ::GetSysColor(COLOR_BTNTEXT), 24), 30);
        EXPECT_EQ(pixels.CountIn(title, shadow), 0) << "no frame line through the title";
        EXPECT_EQ(pixels.CountIn(title, kUnderlay), 0);
    }
}

TEST_F(XGroupBoxTest, ThemedFrameComesFromTheVisualStyle)
{
    const CUxThemeApi& api = CUxThemeApi::Process();
    ASSERT_TRUE(api.IsLoaded()) << "start-up loads UxTheme.dll, which every supported system has";
    if (!api.IsActive())
        GTEST_SKIP() << "no visual style is active on this system";
    ASSERT_TRUE(group.IsThemed());
    const CPixels themed = CPixels::Print(hwnd, kUnderlay);
    const int middle = themed.Height() / 2;
    EXPECT_NE(themed.At(0, middle), kUnderlay) << "a frame on the left";
    EXPECT_EQ(themed.At(themed.Width() / 2, middle), kUnderlay) << "the inside is the dialog's";
}

TEST_F(XGroupBoxTest, TitleChangesRepaintTheStripUnderTheTitle)
{
    host.Show();
    ::UpdateWindow(host.Get());
    ASSERT_FALSE(::GetUpdateRect(host.Get(), nullptr, FALSE));
    group.SetText(L"Exit");
    EXPECT_EQ(group.GetWindowText(), L"Exit");
    RECT update{};
    ASSERT_TRUE(::GetUpdateRect(hwnd, &update, FALSE));
    EXPECT_EQ(update.top, 0);
    ::UpdateWindow(host.Get());
    group.SetBoldTitle();
    EXPECT_TRUE(::GetUpdateRect(hwnd, nullptr, FALSE));
}
} // namespace
