#include "controls/Label.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace
{
constexpr int kLabelId = 1006;
constexpr COLORREF kMagenta = RGB(255, 0, 255);
// Anti-aliased text has few pixels of exactly its colour; these are near enough.
constexpr int kTextTolerance = 24;

class LabelTest : public ::testing::Test
{
protected:
    HWND AddStatic(const wchar_t* text, DWORD style = SS_LEFT, SIZE size = {240, 40})
    {
        return host.AddChild(L"Static", text, style, RECT{10, 10, 10 + size.cx, 10 + size.cy}, kLabelId);
    }
    // A static with the label attached, drawing `text` in black on white.
    HWND AttachPlain(const wchar_t* text, DWORD style = SS_LEFT, SIZE size = {240, 40})
    {
        HWND hwnd = AddStatic(text, style, size);
        EXPECT_TRUE(label.Attach(host.Get(), kLabelId));
        label.SetBkColor(RGB(255, 255, 255)).SetTextColor(RGB(0, 0, 0));
        return hwnd;
    }
    std::optional<RECT> TextBounds(HWND hwnd) const
    {
        return CPixels::Print(hwnd).Bounds(RGB(0, 0, 0), 128);
    }

    CTestHost host;
    CLabel label;
};

TEST_F(LabelTest, SolidBackgroundCoversTheLabelAndTextTakesItsColour)
{
    HWND hwnd = AddStatic(L"Time Corrected by +0.045 seconds at 01:03:00 PM");
    ASSERT_TRUE(label.Attach(host.Get(), kLabelId));
    label.SetTextColor(RGB(0, 0, 255)).SetBkColor(RGB(192, 192, 0));

    const CPixels pixels = CPixels::Print(hwnd, kMagenta);
    EXPECT_EQ(pixels.Count(kMagenta), 0) << "every pixel is painted";
    EXPECT_EQ(pixels.At(0, 0), RGB(192, 192, 0));
    EXPECT_EQ(pixels.At(pixels.Width() - 1, pixels.Height() - 1), RGB(192, 192, 0));
    EXPECT_GT(pixels.Count(RGB(0, 0, 255), kTextTolerance), 20);
}

TEST_F(LabelTest, UnsetColoursComeFromTheDialogLikeAnyStatic)
{
    host.AnswerCtlColorStatic(RGB(10, 20, 30), RGB(250, 120, 40));
    HWND hwnd = AddStatic(L"Program Config");
    ASSERT_TRUE(label.Attach(host.Get(), kLabelId));

    CPixels pixels = CPixels::Print(hwnd);
    EXPECT_EQ(label.GetBackground(), CLabel::Background::Parent);
    EXPECT_EQ(pixels.At(0, 0), RGB(10, 20, 30));
    EXPECT_GT(pixels.Count(RGB(250, 120, 40), kTextTolerance), 20);

    label.SetTextColor(RGB(255, 255, 255));
    pixels = CPixels::Print(hwnd);
    EXPECT_EQ(pixels.At(0, 0), RGB(10, 20, 30)) << "the background stays the dialog's";
    EXPECT_GT(pixels.Count(RGB(255, 255, 255), kTextTolerance), 20);
    EXPECT_EQ(pixels.Count(RGB(250, 120, 40), kTextTolerance), 0);
}

TEST_F(LabelTest, GradientRunsFromTheLeftColourToTheRightColour)
{
    HWND hwnd = AddStatic(L"", SS_LEFT, {300, 30});
    ASSERT_TRUE(label.Attach(host.Get(), kLabelId));
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
    // Horizontal only: every row is the same.
    for (int row = 0; row < pixels.Height(); ++row)
        ASSERT_EQ(pixels.At(37, row), pixels.At(37, 0)) << "row " << row;
}

TEST_F(LabelTest, BorderFramesTheEdgeOnlyWhileItIsOn)
{
    HWND hwnd = AddStatic(L"", SS_LEFT, {120, 30});
    ASSERT_TRUE(label.Attach(host.Get(), kLabelId));
    label.SetBkColor(RGB(0, 0, 128)).SetBorder(true);

    const COLORREF frame = ::GetSysColor(COLOR_WINDOWFRAME);
    ASSERT_NE(frame, RGB(0, 0, 128));
    CPixels pixels = CPixels::Print(hwnd);
    const int right = pixels.Width() - 1;
    const int bottom = pixels.Height() - 1;
    for (const POINT p : {POINT{0, 0}, POINT{right, 0}, POINT{0, bottom}, POINT{right, bottom}, POINT{60, 0},
                          POINT{60, bottom}, POINT{0, 15}, POINT{right, 15}})
    {
        EXPECT_EQ(pixels.At(p.x, p.y), frame) << p.x << "," << p.y;
    }
    EXPECT_EQ(pixels.At(1, 1), RGB(0, 0, 128));
    EXPECT_EQ(pixels.At(right - 1, bottom - 1), RGB(0, 0, 128));

    label.SetBorder(false);
    pixels = CPixels::Print(hwnd);
    EXPECT_EQ(pixels.At(0, 0), RGB(0, 0, 128));
    EXPECT_EQ(pixels.At(right, bottom), RGB(0, 0, 128));
}

TEST_F(LabelTest, FontTakesFaceSizeAndStylesAndKeepsTheRestOfTheDialogFont)
{
    AddStatic(L"Exit in 42 seconds");
    ASSERT_TRUE(label.Attach(host.Get(), kLabelId));
    LOGFONTW font = Describe(reinterpret_cast<HFONT>(::SendMessageW(label.GetSafeHwnd(), WM_GETFONT, 0, 0)));
    EXPECT_EQ(font.lfHeight, -ScreenPixelsFromPoints(8)) << "the dialog font's size until one is set";
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_STREQ(font.lfFaceName, L"MS Shell Dlg");

    struct Step
    {
        std::function<void(CLabel&)> set;
        std::function<bool(const LOGFONTW&)> holds;
        const char* what;
    };
    const Step steps[] = {
        {[](CLabel& l) { l.SetFontSize(14); },
         [](const LOGFONTW& f) { return f.lfHeight == -ScreenPixelsFromPoints(14); }, "14 pt"},
        {[](CLabel& l) { l.SetFontBold(true); }, [](const LOGFONTW& f) { return f.lfWeight == FW_BOLD; }, "bold"},
        {[](CLabel& l) { l.SetFontItalic(true); }, [](const LOGFONTW& f) { return f.lfItalic != 0; }, "italic"},
        {[](CLabel& l) { l.SetFontUnderline(true); }, [](const LOGFONTW& f) { return f.lfUnderline != 0; },
         "underline"},
        {[](CLabel& l) { l.SetFontName(L"Times New Roman"); },
         [](const LOGFONTW& f) { return std::wstring(f.lfFaceName) == L"Times New Roman"; }, "face"},
        {[](CLabel& l) { l.SetFontSize(26); },
         [](const LOGFONTW& f) { return f.lfHeight == -ScreenPixelsFromPoints(26) && f.lfWeight == FW_BOLD; },
         "26 pt, still bold"},
        {[](CLabel& l) { l.SetFontBold(false); }, [](const LOGFONTW& f) { return f.lfWeight == FW_NORMAL; },
         "not bold"},
        {[](CLabel& l) { l.SetFontItalic(false); }, [](const LOGFONTW& f) { return f.lfItalic == 0; },
         "not italic"},
    };
    for (const Step& step : steps)
    {
        step.set(label);
        font = Describe(label.GetFont());
        EXPECT_TRUE(step.holds(font)) << step.what;
    }
}

TEST_F(LabelTest, TextHeightFollowsThePointSizeAtTheDisplayResolution)
{
    HWND hwnd = AttachPlain(L"HH", SS_LEFT, {200, 80});
    label.SetFontSize(9);
    const auto small = TextBounds(hwnd);
    label.SetFontSize(18);
    const auto large = TextBounds(hwnd);
    ASSERT_TRUE(small && large);
    // A capital is about 0.7 of the em height, whatever the face.
    const int smallHeight = small->bottom - small->top;
    const int largeHeight = large->bottom - large->top;
    EXPECT_NEAR(smallHeight, 0.72 * ScreenPixelsFromPoints(9), 2.5);
    EXPECT_NEAR(largeHeight, 0.72 * ScreenPixelsFromPoints(18), 3.5);
}

TEST_F(LabelTest, TextKeepsTheAlignmentOfTheStaticStyle)
{
    struct Case
    {
        DWORD style;
        const char* name;
    };
    for (const Case c : {Case{SS_LEFT, "left"}, Case{SS_CENTER, "centre"}, Case{SS_RIGHT, "right"}})
    {
        CTestHost ownHost;
        HWND hwnd = ownHost.AddChild(L"Static", L"56", c.style, RECT{0, 0, 200, 30}, kLabelId);
        CLabel marker;
        ASSERT_TRUE(marker.Attach(ownHost.Get(), kLabelId));
        marker.SetBkColor(RGB(255, 255, 255)).SetTextColor(RGB(0, 0, 0)).SetFontSize(18);
        const auto bounds = CPixels::Print(hwnd).Bounds(RGB(0, 0, 0), 128);
        ASSERT_TRUE(bounds) << c.name;
        const int leftGap = bounds->left;
        const int rightGap = 200 - bounds->right;
        switch (c.style)
        {
        case SS_LEFT:
            EXPECT_LT(leftGap, 8) << c.name;
            EXPECT_GT(rightGap, 100) << c.name;
            break;
        case SS_CENTER:
            EXPECT_NEAR(leftGap, rightGap, 4) << c.name;
            break;
        default:
            EXPECT_GT(leftGap, 100) << c.name;
            EXPECT_LT(rightGap, 8) << c.name;
            break;
        }
    }
}

TEST_F(LabelTest, TextBreaksAtNewlinesAndWrapsAtWordsUnlessTheStyleSaysNot)
{
    HWND hwnd = AttachPlain(L"One", SS_LEFT, {120, 120});
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

TEST_F(LabelTest, TabsExpandToAStopJustPastTheWidestTextBeforeATab)
{
    HWND hwnd = AttachPlain(L"X");
    const auto plain = TextBounds(hwnd);
    label.SetText(L"\tX");
    const auto tabbed = TextBounds(hwnd);
    ASSERT_TRUE(plain && tabbed);
    EXPECT_EQ(tabbed->right - tabbed->left, plain->right - plain->left) << "the tab itself draws nothing";
    EXPECT_GT(tabbed->left, plain->left) << "the X moved to the first stop";

    // The caption of a synchronisation: both values start in one column,
    // one to two average characters after the wider of the two names.
    label.SetText(L"Time Server:\tW\nTime Format:\tW");
    const CPixels pixels = CPixels::Print(hwnd);
    const auto all = pixels.Bounds(RGB(0, 0, 0), 128);
    ASSERT_TRUE(all);
    const int middle = (all->top + all->bottom) / 2;
    int firstW = -1;
    int secondW = -1;
    for (int x = pixels.Width() - 1; x >= 0; --x)
        for (int y = all->top; y < all->bottom; ++y)
            if (Near(pixels.At(x, y), RGB(0, 0, 0), 128))
                (y < middle ? firstW : secondW) = std::max(y < middle ? firstW : secondW, x);
    EXPECT_EQ(firstW, secondW) << "the W's end in the same column";

    const CWindowDC dc(hwnd);
    const CSelectObject font(dc.Get(), label.GetFont());
    SIZE names{};
    ::GetTextExtentPoint32W(dc.Get(), L"Time Format:", 12, &names);
    SIZE serverName{};
    ::GetTextExtentPoint32W(dc.Get(), L"Time Server:", 12, &serverName);
    names.cx = std::max(names.cx, serverName.cx);
    SIZE w{};
    ::GetTextExtentPoint32W(dc.Get(), L"W", 1, &w);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.Get(), &metrics);
    const int valueLeft = firstW + 1 - w.cx - plain->left;
    EXPECT_GE(valueLeft, names.cx + metrics.tmAveCharWidth - 2);
    EXPECT_LE(valueLeft, names.cx + 2 * metrics.tmAveCharWidth + 2);
}

TEST_F(LabelTest, EverySetterAndEveryNewTextRedraws)
{
    HWND hwnd = AddStatic(L"Static");
    ASSERT_TRUE(label.Attach(host.Get(), kLabelId));
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
    ::UpdateWindow(hwnd);
    EXPECT_EQ(label.GetWindowText(), L"Exit in 41 seconds");
}

TEST_F(LabelTest, DisabledLabelDrawsGreyText)
{
    HWND hwnd = AttachPlain(L"Exit in 41 seconds");
    ::EnableWindow(hwnd, FALSE);
    const CPixels pixels = CPixels::Print(hwnd);
    EXPECT_GT(pixels.Count(::GetSysColor(COLOR_GRAYTEXT), kTextTolerance), 10);
    EXPECT_EQ(pixels.Count(RGB(0, 0, 0), kTextTolerance), 0);
}

TEST_F(LabelTest, LinkOpensItsTargetOnClickWithTheHandPointer)
{
    HWND hwnd = AddStatic(L"https://www.ntppool.org/en/");
    ASSERT_TRUE(label.Attach(host.Get(), kLabelId));
    COpenRecorder shell;
    label.SetLinkOpener(shell.Opener());

    EXPECT_EQ(::SendMessageW(hwnd, WM_NCHITTEST, 0, 0), HTTRANSPARENT) << "a plain static lets the mouse through";
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(shell.calls.empty()) << "no link, nothing to open";

    label.SetLink(L"https://www.ntppool.org/en/").SetFontUnderline(true).SetTextColor(RGB(0, 0, 255));
    EXPECT_EQ(::SendMessageW(hwnd, WM_NCHITTEST, 0, 0), HTCLIENT);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(::SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));

    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(::GetCapture(), hwnd);
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(6, 7));
    EXPECT_EQ(::GetCapture(), nullptr);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].target, L"https://www.ntppool.org/en/");
    EXPECT_EQ(shell.calls[0].owner, host.Get());

    // Let go outside the label: no click.
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(-20, 5));
    EXPECT_EQ(shell.calls.size(), 1u);

    label.SetLink(L"");
    EXPECT_EQ(::SendMessageW(hwnd, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
}

TEST_F(LabelTest, FontsAreFreedWhenReplacedAndWhenTheLabelGoes)
{
    host.Show();
    // Counted where the system counts them (Wine answers 0).
    const DWORD before = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    std::vector<HFONT> fonts;
    for (int i = 0; i < 50; ++i)
    {
        HWND hwnd = AddStatic(L"12:34:56 PM");
        {
            CLabel clock;
            ASSERT_TRUE(clock.Attach(host.Get(), kLabelId));
            clock.SetGradientColors(RGB(0, 0, 255), RGB(192, 192, 208)).SetBorder(true).SetFontSize(26);
            fonts.push_back(clock.GetFont());
            clock.SetFontBold(true);
            ASSERT_EQ(::GetObjectType(fonts.back()), 0u) << "the plain 26 pt font went when bold was set";
            fonts.push_back(clock.GetFont());
            ASSERT_EQ(::GetObjectType(fonts.back()), static_cast<DWORD>(OBJ_FONT));
            ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
        ::DestroyWindow(hwnd);
    }
    for (HFONT font : fonts)
        ASSERT_EQ(::GetObjectType(font), 0u) << "the labels took their fonts with them";
    EXPECT_LE(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), before + 2);
}

TEST_F(LabelTest, WindowMayGoBeforeTheLabelOrTheLabelBeforeTheWindow)
{
    HWND hwnd = AddStatic(L"56", SS_CENTER);
    {
        CLabel marker;
        ASSERT_TRUE(marker.Attach(host.Get(), kLabelId));
        marker.SetBkColor(RGB(255, 0, 0));
    }
    // The control outlived its label and paints as a plain static again.
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    EXPECT_NE(CPixels::Print(hwnd).At(0, 0), RGB(255, 0, 0));

    CLabel marker;
    ASSERT_TRUE(marker.Attach(host.Get(), kLabelId));
    ::DestroyWindow(hwnd);
    EXPECT_EQ(marker.GetSafeHwnd(), nullptr);
    marker.SetBkColor(RGB(0, 255, 0)).SetText(L"57");
}
} // namespace
