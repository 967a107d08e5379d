#include "controls/Label_win.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <functional>

namespace
{
constexpr int kLabelId = 1006;
constexpr COLORREF kMagenta = RGB(255, 0, 255), kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);
// Anti-aliased text has few pixels of exactly its colour; these are near enough.
constexpr int kTextTolerance = 24;

class LabelTest : public ::testing::Test
{
protected:
    // A static of `size` with the label attached.
    HWND Add(const wchar_t* text, SIZE size = {240, 40})
    {
        HWND hwnd = host.AddChild(L"Static", text, SS_LEFT, RECT{10, 10, 10 + size.cx, 10 + size.cy}, kLabelId);
        EXPECT_TRUE(label.SubclassDlgItem(host.Get(), kLabelId));
        return hwnd;
    }
    // Where black text lies on the label's white background.
    static std::optional<RECT> TextBounds(HWND hwnd) { return CPixels::Print(hwnd).Bounds(kBlack, 128); }

    CTestHost host;
    CLabel label;
};

TEST_F(LabelTest, ColoursComeFromTheDialogUntilSetAndGreyWhenDisabled)
{
    const COLORREF dialogBack = RGB(10, 20, 30), dialogText = RGB(250, 120, 40), olive = RGB(192, 192, 0);
    host.AnswerCtlColorStatic(dialogBack, dialogText);
    HWND hwnd = Add(L"Time Corrected by +0.045 seconds at 01:03:00 PM");
    CPixels pixels = CPixels::Print(hwnd);
    EXPECT_EQ(pixels.At(0, 0), dialogBack);
    EXPECT_GT(pixels.Count(dialogText, kTextTolerance), 20);

    label.SetTextColor(kWhite);
    pixels = CPixels::Print(hwnd);
    EXPECT_EQ(pixels.At(0, 0), dialogBack) << "the background stays the dialog's";
    EXPECT_GT(pixels.Count(kWhite, kTextTolerance), 20);
    EXPECT_EQ(pixels.Count(dialogText, kTextTolerance), 0);

    label.SetBkColor(olive);
    pixels = CPixels::Print(hwnd, kMagenta);
    EXPECT_EQ(pixels.Count(kMagenta), 0) << "every pixel is painted";
    EXPECT_EQ(pixels.At(pixels.Width() - 1, pixels.Height() - 1), olive);
    EXPECT_GT(pixels.Count(kWhite, kTextTolerance), 20);

    ::EnableWindow(hwnd, FALSE);
    pixels = CPixels::Print(hwnd);
    EXPECT_GT(pixels.Count(::GetSysColor(COLOR_GRAYTEXT), kTextTolerance), 10);
    EXPECT_EQ(pixels.Count(kWhite, kTextTolerance), 0);
}

TEST_F(LabelTest, GradientRunsHorizontallyFromTheLeftColourToTheRightColour)
{
    HWND hwnd = Add(L"", {300, 30});
    label.SetGradientColors(RGB(0, 0, 255), RGB(192, 192, 208));
    const CPixels pixels = CPixels::Print(hwnd, kMagenta);
    const int y = pixels.Height() / 2;
    EXPECT_EQ(pixels.At(0, y), RGB(0, 0, 255));
    EXPECT_EQ(pixels.At(pixels.Width() - 1, y), RGB(192, 192, 208));
    for (int x = 1; x < pixels.Width(); ++x)
    {
        ASSERT_GE(GetRValue(pixels.At(x, y)), GetRValue(pixels.At(x - 1, y))) << "x = " << x;
        ASSERT_LE(GetBValue(pixels.At(x, y)), GetBValue(pixels.At(x - 1, y))) << "x = " << x;
    }
    for (int row = 0; row < pixels.Height(); ++row)
        ASSERT_EQ(pixels.At(37, row), pixels.At(37, 0)) << "row " << row;
}

TEST_F(LabelTest, BorderFramesTheEdgeOnlyWhileItIsOn)
{
    const COLORREF navy = RGB(0, 0, 128), frame = ::GetSysColor(COLOR_WINDOWFRAME);
    ASSERT_NE(frame, navy);
    HWND hwnd = Add(L"", {120, 30});
    label.SetBkColor(navy);
    for (const bool border : {true, false})
    {
        label.SetBorder(border);
        const CPixels pixels = CPixels::Print(hwnd);
        const int right = pixels.Width() - 1, bottom = pixels.Height() - 1;
        for (const POINT p : {POINT{0, 0}, {right, bottom}, {60, 0}, {60, bottom}, {0, 15}, {right, 15}})
            EXPECT_EQ(pixels.At(p.x, p.y), border ? frame : navy) << border << " at " << p.x << "," << p.y;
        EXPECT_EQ(pixels.At(1, 1), navy);
        EXPECT_EQ(pixels.At(right - 1, bottom - 1), navy);
    }
}

TEST_F(LabelTest, FontTakesFaceSizeAndStylesOverTheDialogFont)
{
    HWND hwnd = Add(L"Exit in 42 seconds");
    struct Step { std::function<void()> set; int points; LONG weight; bool italic, underline; const wchar_t* face; };
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
        SCOPED_TRACE(step.points);
        step.set();
        const auto current = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
        EXPECT_TRUE(previous == current || ::GetObjectType(previous) == 0) << "the font replaced is freed";
        previous = current;
        const LOGFONTW font = Describe(current);
        EXPECT_EQ(font.lfHeight, -ScreenPixelsFromPoints(step.points));
        EXPECT_EQ(font.lfWeight, step.weight);
        EXPECT_EQ(font.lfItalic != 0, step.italic);
        EXPECT_EQ(font.lfUnderline != 0, step.underline);
        EXPECT_STREQ(font.lfFaceName, step.face);
    }
}

TEST_F(LabelTest, TextTakesThePointSizeAtTheDisplayResolutionAndTheAlignmentOfTheStaticStyle)
{
    CLabel labels[3];
    const DWORD styles[] = {SS_LEFT, SS_CENTER, SS_RIGHT};
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(testing::Message() << "style " << styles[i]);
        HWND hwnd = host.AddChild(L"Static", L"HH", styles[i], RECT{0, 80 * i, 200, 80 * i + 80}, kLabelId + i);
        ASSERT_TRUE(labels[i].SubclassDlgItem(host.Get(), kLabelId + i));
        labels[i].SetBkColor(kWhite).SetTextColor(kBlack).SetFontSize(18);
        const auto bounds = TextBounds(hwnd);
        ASSERT_TRUE(bounds);
        // A capital is about 0.72 of the em height, whatever the face.
        EXPECT_NEAR(bounds->bottom - bounds->top, 0.72 * ScreenPixelsFromPoints(18), 3.5);
        const int width = bounds->right - bounds->left;
        const int expectedLeft[] = {0, (200 - width) / 2, 200 - width};
        EXPECT_NEAR(bounds->left, expectedLeft[i], 6);
    }
}

TEST_F(LabelTest, TextBreaksAtNewlinesAndWrapsAtWordsUnlessTheStyleSaysNot)
{
    HWND hwnd = Add(L"One", {120, 120});
    label.SetBkColor(kWhite).SetTextColor(kBlack);
    const auto oneLine = TextBounds(hwnd);
    label.SetText(L"One\nOne\nOne");
    const auto threeLines = TextBounds(hwnd);
    label.SetText(L"Time was NOT successfully retrieved from NTP server");
    const auto wrapped = TextBounds(hwnd);
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, (::GetWindowLongPtrW(hwnd, GWL_STYLE) & ~SS_TYPEMASK) | SS_LEFTNOWORDWRAP);
    const auto unwrapped = TextBounds(hwnd);
    ASSERT_TRUE(oneLine && threeLines && wrapped && unwrapped);
    const int lineHeight = oneLine->bottom - oneLine->top;
    EXPECT_GT(threeLines->bottom - threeLines->top, 2 * lineHeight);
    EXPECT_EQ(threeLines->right, oneLine->right) << "each line is a line of its own";
    EXPECT_GT(wrapped->bottom - wrapped->top, 2 * lineHeight) << "a long line wraps in a narrow label";
    EXPECT_LE(wrapped->right, 120);
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
    const auto width = [&](const wchar_t* text) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc.Get(), text, static_cast<int>(wcslen(text)), &size);
        return static_cast<int>(size.cx);
    };
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.Get(), &metrics);
    const int names = std::max(width(L"Time Server:"), width(L"Time Format:"));
    const int valueLeft = wEnds[0] + 1 - width(L"W") - all->left;
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
        {"SetFontName", [&] { label.SetFontName(L"Arial"); }}, {"SetFontSize", [&] { label.SetFontSize(18); }},
        {"SetFontBold", [&] { label.SetFontBold(true); }}, {"SetFontItalic", [&] { label.SetFontItalic(true); }},
        {"SetFontUnderline", [&] { label.SetFontUnderline(true); }}, {"SetBorder", [&] { label.SetBorder(true); }},
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
