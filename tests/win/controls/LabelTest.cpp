#include "controls/Label_win.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace
{
constexpr int kLabelId = 1006;
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
// Anti-aliased text has few pixels of exactly its colour; these are near enough.
constexpr int kTextTolerance = 24;

class LabelTest : public ::testing::Test
{
protected:
    // A static of `size` with the label attached.
    HWND Add(const wchar_t* text, DWORD style = SS_LEFT, SIZE size = {240, 40}, int id = kLabelId)
    {
        HWND hwnd = host.AddChild(L"Static", text, style, RECT{10, 10, 10 + size.cx, 10 + size.cy}, id);
        EXPECT_TRUE(label.SubclassDlgItem(host.Get(), id));
        return hwnd;
    }
    // Where black text lies on the label's white background.
    std::optional<RECT> TextBounds(HWND hwnd) const { return CPixels::Print(hwnd).Bounds(kBlack, 128); }

    CTestHost host;
    CLabel label;
};

TEST_F(LabelTest, ColoursComeFromTheDialogUntilSetAndGreyWhenDisabled)
{
    host.AnswerCtlColorStatic(RGB(10, 20, 30), RGB(250, 120, 40));
    HWND hwnd = Add(L"Time Corrected by +0.045 seconds at 01:03:00 PM");
    CPixels pixels = CPixels::Print(hwnd);
    EXPECT_EQ(pixels.At(0, 0), RGB(10, 20, 30));
    EXPECT_GT(pixels.Count(RGB(250, 120, 40), kTextTolerance), 20);

    label.SetTextColor(kWhite);
    pixels = CPixels::Print(hwnd);
    EXPECT_EQ(pixels.At(0, 0), RGB(10, 20, 30)) << "the background stays the dialog's";
    EXPECT_GT(pixels.Count(kWhite, kTextTolerance), 20);
    EXPECT_EQ(pixels.Count(RGB(250, 120, 40), kTextTolerance), 0);

    label.SetBkColor(RGB(192, 192, 0));
    pixels = CPixels::Print(hwnd, kMagenta);
    EXPECT_EQ(pixels.Count(kMagenta), 0) << "every pixel is painted";
    EXPECT_EQ(pixels.At(pixels.Width() - 1, pixels.Height() - 1), RGB(192, 192, 0));
    EXPECT_GT(pixels.Count(kWhite, kTextTolerance), 20);

    ::EnableWindow(hwnd, FALSE);
    pixels = CPixels::Print(hwnd);
    EXPECT_GT(pixels.Count(::GetSysColor(COLOR_GRAYTEXT), kTextTolerance), 10);
    EXPECT_EQ(pixels.Count(kWhite, kTextTolerance), 0);
}

TEST_F(LabelTest, GradientRunsFromTheLeftColourToTheRightColour)
{
    HWND hwnd = Add(L"", SS_LEFT, {300, 30});
    label.SetGradientColors(RGB(0, 0, 255), RGB(192, 192, 208));
    const CPixels pixels = CPixels::Print(hwnd, kMagenta);
    const int y = pixels.Height() / 2;
    EXPECT_EQ(pixels.At(0, y), RGB(0, 0, 255));
    EXPECT_EQ(pixels.At(pixels.Width() - 1, y), RGB(192, 192, 208));
    EXPECT_TRUE(Near(pixels.At(pixels.Width() / 2, y), RGB(96, 96, 232), 2)) << std::hex << pixels.At(150, y);
    for (int x = 1; x < pixels.Width(); ++x)
    {
        ASSERT_GE(GetRValue(pixels.At(x, y)), GetRValue(pixels.At(x - 1, y))) << "x = " << x;
        ASSERT_LE(GetBValue(pixels.At(x, y)), GetBValue(pixels.At(x - 1, y))) << "x = " << x;
    }
    for (int row = 0; row < pixels.Height(); ++row)
        ASSERT_EQ(pixels.At(37, row), pixels.At(37, 0)) << "horizontal only: row " << row;
}

TEST_F(LabelTest, BorderFramesTheEdgeOnlyWhileItIsOn)
{
    HWND hwnd = Add(L"", SS_LEFT, {120, 30});
    label.SetBkColor(RGB(0, 0, 128)).SetBorder(true);
    const COLORREF frame = ::GetSysColor(COLOR_WINDOWFRAME);
    ASSERT_NE(frame, RGB(0, 0, 128));
    CPixels pixels = CPixels::Print(hwnd);
    const int right = pixels.Width() - 1;
    const int bottom = pixels.Height() - 1;
    for (const POINT p : {POINT{0, 0}, POINT{right, bottom}, POINT{60, 0}, POINT{60, bottom}, POINT{0, 15},
                          POINT{right, 15}})
        EXPECT_EQ(pixels.At(p.x, p.y), frame) << p.x << "," << p.y;
    EXPECT_EQ(pixels.At(1, 1), RGB(0, 0, 128));
    EXPECT_EQ(pixels.At(right - 1, bottom - 1), RGB(0, 0, 128));

    label.SetBorder(false);
    pixels = CPixels::Print(hwnd);
    EXPECT_EQ(pixels.At(0, 0), RGB(0, 0, 128));
    EXPECT_EQ(pixels.At(right, bottom), RGB(0, 0, 128));
}

TEST_F(LabelTest, FontTakesFaceSizeAndStylesOverTheDialogFont)
{
    HWND hwnd = Add(L"Exit in 42 seconds");
    struct Step
    {
        std::function<void()> set;
        int points;
        LONG weight;
        bool italic;
        bool underline;
        const wchar_t* face;
    };
    const Step steps[] = {
        {[] {}, 8, FW_NORMAL, false, false, L"MS Shell Dlg"},
        {[&] { label.SetFontSize(14); }, 14, FW_NORMAL, false, false, L"MS Shell Dlg"},
        {[&] { label.SetFontBold(true); }, 14, FW_BOLD, false, false, L"MS Shell Dlg"},
        {[&] { label.SetFontItalic(true).SetFontUnderline(true); }, 14, FW_BOLD, true, true, L"MS Shell Dlg"},
        {[&] { label.SetFontName(L"Times New Roman").SetFontSize(26); }, 26, FW_BOLD, true, true, L"Times New Roman"},
        {[&] { label.SetFontBold(false).SetFontItalic(false); }, 26, FW_NORMAL, false, true, L"Times New Roman"},
    };
    HFONT previous = nullptr;
    for (const Step& step : steps)
    {
        step.set();
        const auto current = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
        if (previous != current)
        {
            EXPECT_EQ(::GetObjectType(previous), 0u) << "the font replaced is freed";
        }
        previous = current;
        const LOGFONTW font = Describe(current);
        SCOPED_TRACE(step.points);
        EXPECT_EQ(font.lfHeight, -ScreenPixelsFromPoints(step.points));
        EXPECT_EQ(font.lfWeight, step.weight);
        EXPECT_EQ(font.lfItalic != 0, step.italic);
        EXPECT_EQ(font.lfUnderline != 0, step.underline);
        EXPECT_STREQ(font.lfFaceName, step.face);
    }
}

TEST_F(LabelTest, TextHeightFollowsThePointSizeAtTheDisplayResolution)
{
    HWND hwnd = Add(L"HH", SS_LEFT, {200, 80});
    label.SetBkColor(kWhite).SetTextColor(kBlack);
    // A capital is about 0.72 of the em height, whatever the face.
    for (const int points : {9, 18})
    {
        label.SetFontSize(points);
        const auto bounds = TextBounds(hwnd);
        ASSERT_TRUE(bounds);
        EXPECT_NEAR(bounds->bottom - bounds->top, 0.72 * ScreenPixelsFromPoints(points), 1.5 + points / 9) << points;
    }
}

TEST_F(LabelTest, TextKeepsTheAlignmentOfTheStaticStyle)
{
    CLabel labels[3];
    const DWORD styles[] = {SS_LEFT, SS_CENTER, SS_RIGHT};
    for (int i = 0; i < 3; ++i)
    {
        HWND hwnd = host.AddChild(L"Static", L"56", styles[i], RECT{0, 40 * i, 200, 40 * i + 30}, kLabelId + i);
        ASSERT_TRUE(labels[i].SubclassDlgItem(host.Get(), kLabelId + i));
        labels[i].SetBkColor(kWhite).SetTextColor(kBlack).SetFontSize(18);
        const auto bounds = TextBounds(hwnd);
        ASSERT_TRUE(bounds) << i;
        const int width = bounds->right - bounds->left;
        const int expectedLeft[] = {0, (200 - width) / 2, 200 - width};
        EXPECT_NEAR(bounds->left, expectedLeft[i], 6) << "style " << styles[i];
    }
}

TEST_F(LabelTest, TextBreaksAtNewlinesAndWrapsAtWordsUnlessTheStyleSaysNot)
{
    HWND hwnd = Add(L"One", SS_LEFT, {120, 120});
    label.SetBkColor(kWhite).SetTextColor(kBlack);
    const auto oneLine = TextBounds(hwnd);
    label.SetText(L"One\nOne\nOne");
    const auto threeLines = TextBounds(hwnd);
    label.SetText(L"Time was NOT successfully retrieved from NTP server");
    const auto wrapped = TextBounds(hwnd);
    ASSERT_TRUE(oneLine && threeLines && wrapped);
    const int lineHeight = oneLine->bottom - oneLine->top;
    EXPECT_GT(threeLines->bottom - threeLines->top, 2 * lineHeight);
    EXPECT_EQ(threeLines->right, oneLine->right) << "each line is a line of its own";
    EXPECT_GT(wrapped->bottom - wrapped->top, 2 * lineHeight) << "a long line wraps in a narrow label";
    EXPECT_LE(wrapped->right, 120);

    ::SetWindowLongPtrW(hwnd, GWL_STYLE, (::GetWindowLongPtrW(hwnd, GWL_STYLE) & ~SS_TYPEMASK) | SS_LEFTNOWORDWRAP);
    const auto unwrapped = TextBounds(hwnd);
    ASSERT_TRUE(unwrapped);
    EXPECT_LT(unwrapped->bottom - unwrapped->top, 2 * lineHeight);
}

TEST_F(LabelTest, TabsLineTheValuesUpInOneColumn)
{
    // The caption of a synchronisation: both values start in one column, one
    // to two average characters after the wider of the two names.
    HWND hwnd = Add(L"Time Server:\tW\nTime Format:\tW");
    label.SetBkColor(kWhite).SetTextColor(kBlack);
    const CPixels pixels = CPixels::Print(hwnd);
    const auto all = pixels.Bounds(kBlack, 128);
    ASSERT_TRUE(all);
    const int middle = (all->top + all->bottom) / 2;
    int wEnds[2] = {-1, -1};
    for (int x = 0; x < pixels.Width(); ++x)
        for (int y = all->top; y < all->bottom; ++y)
            if (Near(pixels.At(x, y), kBlack, 128))
                wEnds[y < middle ? 0 : 1] = x;
    EXPECT_EQ(wEnds[0], wEnds[1]) << "the W's end in the same column";

    const CWindowDC dc(hwnd);
    const CSelectObject font(dc.Get(), label.GetFont());
    SIZE server{}, format{}, w{};
    ::GetTextExtentPoint32W(dc.Get(), L"Time Server:", 12, &server);
    ::GetTextExtentPoint32W(dc.Get(), L"Time Format:", 12, &format);
    ::GetTextExtentPoint32W(dc.Get(), L"W", 1, &w);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.Get(), &metrics);
    const int names = std::max(server.cx, format.cx);
    const int valueLeft = wEnds[0] + 1 - w.cx - all->left;
    EXPECT_GE(valueLeft, names + metrics.tmAveCharWidth - 2);
    EXPECT_LE(valueLeft, names + 2 * metrics.tmAveCharWidth + 2);
}

TEST_F(LabelTest, EverySetterAndEveryNewTextRedraws)
{
    HWND hwnd = Add(L"Static");
    host.Show();
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"SetText", [&] { label.SetText(L"Time Server:\tpool.ntp.org"); }},
        {"SetWindowText", [&] { ::SetWindowTextW(hwnd, L"Exit in 41 seconds"); }},
        {"SetTextColor", [&] { label.SetTextColor(RGB(0, 0, 255)); }},
        {"SetBkColor", [&] { label.SetBkColor(RGB(255, 0, 0)); }},
        {"SetGradientColors", [&] { label.SetGradientColors(RGB(0, 0, 255), RGB(192, 192, 208)); }},
        {"SetParentBackground", [&] { label.SetParentBackground(); }},
        {"SetFontName", [&] { label.SetFontName(L"Arial"); }},
        {"SetFontSize", [&] { label.SetFontSize(18); }},
        {"SetFontBold", [&] { label.SetFontBold(true); }},
        {"SetFontItalic", [&] { label.SetFontItalic(true); }},
        {"SetFontUnderline", [&] { label.SetFontUnderline(true); }},
        {"SetBorder", [&] { label.SetBorder(true); }},
        {"SetLink", [&] { label.SetLink(L"https://www.ntppool.org/en/"); }},
        {"EnableWindow", [&] { ::EnableWindow(hwnd, FALSE); }},
    };
    for (const auto& [name, change] : changes)
    {
        ::UpdateWindow(hwnd);
        ASSERT_FALSE(::GetUpdateRect(hwnd, nullptr, FALSE)) << "before " << name;
        change();
        EXPECT_TRUE(::GetUpdateRect(hwnd, nullptr, FALSE)) << name;
    }
    EXPECT_EQ(label.GetWindowText(), L"Exit in 41 seconds");
}

} // namespace
