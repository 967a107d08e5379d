#include "controls/HyperLink.h"

#include "ControlTestSupport.h"

#include "resources/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace
{
constexpr int kLinkId = 1057;
constexpr COLORREF kNormal = RGB(0, 0, 255);
constexpr COLORREF kHover = RGB(0, 128, 0);
constexpr COLORREF kVisited = RGB(128, 0, 0);
constexpr COLORREF kFace = RGB(240, 240, 240);
constexpr int kTextTolerance = 24;
constexpr wchar_t kSite[] = L"https://www.kavrin.example/";

// A square icon of one colour, drawn opaque.
CUniqueIcon SolidIcon(COLORREF colour)
{
    const int size = ::GetSystemMetrics(SM_CXSMICON);
    CTestSurface colourPlane({size, size}, colour);
    CTestSurface maskPlane({size, size}, RGB(0, 0, 0));
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colourPlane.GetBitmap();
    info.hbmMask = maskPlane.GetBitmap();
    return CUniqueIcon(::CreateIconIndirect(&info));
}

class HyperLinkTest : public ::testing::TestWithParam<const wchar_t*>
{
protected:
    // The link on a control of the class under test: a button or a static.
    HWND AddLink(const wchar_t* text = L"www.kavrin.example", SIZE size = {220, 24})
    {
        const bool button = std::wstring(GetParam()) == L"Button";
        HWND hwnd = host.AddChild(GetParam(), text, button ? BS_PUSHBUTTON | WS_TABSTOP : SS_LEFT,
                                  RECT{20, 20, 20 + size.cx, 20 + size.cy}, kLinkId);
        EXPECT_TRUE(link.Attach(host.Get(), kLinkId));
        link.SetTarget(kSite).SetColors(kNormal, kHover, kVisited).SetBkColor(kFace).SetLinkOpener(shell.Opener());
        return hwnd;
    }
    static void Click(HWND hwnd, POINT down = {4, 4}, POINT up = {5, 5})
    {
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
        ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    }
    int Clicks() const
    {
        int count = 0;
        for (const auto& command : host.commands)
            count += command.id == kLinkId && command.code == BN_CLICKED ? 1 : 0;
        return count;
    }

    CTestHost host;
    CHyperLink link;
    COpenRecorder shell;
};

TEST_P(HyperLinkTest, TextTakesTheColourOfItsStateOnItsBackground)
{
    HWND hwnd = AddLink();
    CPixels pixels = CPixels::Print(hwnd, RGB(255, 0, 255));
    EXPECT_EQ(pixels.At(0, 0), kFace);
    EXPECT_EQ(pixels.Count(RGB(255, 0, 255)), 0);
    EXPECT_GT(pixels.Count(kNormal, kTextTolerance), 20);
    EXPECT_EQ(pixels.Count(kHover, kTextTolerance), 0);

    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(link.IsHovering());
    pixels = CPixels::Print(hwnd);
    EXPECT_GT(pixels.Count(kHover, kTextTolerance), 20);
    EXPECT_EQ(pixels.Count(kNormal, kTextTolerance), 0);

    ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(link.IsHovering());
    EXPECT_GT(CPixels::Print(hwnd).Count(kNormal, kTextTolerance), 20);

    link.SetVisited(true);
    pixels = CPixels::Print(hwnd);
    EXPECT_GT(pixels.Count(kVisited, kTextTolerance), 20);
    EXPECT_EQ(pixels.Count(kNormal, kTextTolerance), 0);

    // The pointer over a visited link shows the hover colour.
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_GT(CPixels::Print(hwnd).Count(kHover, kTextTolerance), 20);
}

TEST_P(HyperLinkTest, RealPointerStartsAndEndsTheHover)
{
    HWND hwnd = AddLink();
    host.Show();
    const auto WaitFor = [](const std::function<bool()>& condition) {
        for (int i = 0; i < 100 && !condition(); ++i)
        {
            PumpMessages();
            ::Sleep(10);
        }
        return condition();
    };
    RECT onScreen{};
    ::GetWindowRect(hwnd, &onScreen);
    ::SetCursorPos((onScreen.left + onScreen.right) / 2, (onScreen.top + onScreen.bottom) / 2);
    ASSERT_TRUE(WaitFor([&] { return link.IsHovering(); })) << "the move over the link reached it";
    // The link asked for WM_MOUSELEAVE; with the pointer elsewhere the system sends it.
    ::SetCursorPos(onScreen.right + 300, onScreen.bottom + 300);
    EXPECT_TRUE(WaitFor([&] { return !link.IsHovering(); }));
}

TEST_P(HyperLinkTest, ClickOpensTheTargetMarksItVisitedAndTellsTheDialog)
{
    HWND hwnd = AddLink();
    Click(hwnd);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].target, kSite);
    EXPECT_EQ(shell.calls[0].owner, host.Get());
    EXPECT_TRUE(link.IsVisited());
    EXPECT_EQ(Clicks(), 1);

    Click(hwnd, {4, 4}, {-30, 4});
    EXPECT_EQ(shell.calls.size(), 1u) << "let go outside: no click";

    ::SendMessageW(hwnd, BM_CLICK, 0, 0);
    EXPECT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(Clicks(), 2);
}

TEST_P(HyperLinkTest, KeyboardOpensTheFocusedLink)
{
    HWND hwnd = AddLink();
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(shell.calls.empty()) << "on release, like a button";
    ::SendMessageW(hwnd, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(shell.calls.size(), 1u);

    // Enter goes to the focused link rather than to the dialog's default button.
    host.Show();
    ::SetFocus(hwnd);
    MSG enter{hwnd, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(::IsDialogMessageW(host.Get(), &enter));
    EXPECT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(Clicks(), 2);
}

TEST_P(HyperLinkTest, PointerIsAHandAndTheToolTipNamesTheTarget)
{
    HWND hwnd = AddLink();
    EXPECT_EQ(::SendMessageW(hwnd, WM_NCHITTEST, 0, 0), HTCLIENT);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(::SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));

    EXPECT_EQ(link.GetToolTipWindow(), nullptr);
    link.SetToolTip(kSite);
    HWND tip = link.GetToolTipWindow();
    ASSERT_NE(tip, nullptr);
    wchar_t className[64] = {};
    ::GetClassNameW(tip, className, 64);
    EXPECT_STREQ(className, TOOLTIPS_CLASSW);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

    const auto TipText = [&] {
        wchar_t text[256] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = host.Get();
        tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
        tool.lpszText = text;
        ::SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
        return std::wstring(text);
    };
    EXPECT_EQ(TipText(), kSite);
    link.SetToolTip(L"mailto:support@kavrin.example");
    EXPECT_EQ(link.GetToolTipWindow(), tip);
    EXPECT_EQ(TipText(), L"mailto:support@kavrin.example");

    link.SetToolTip(L"");
    EXPECT_EQ(link.GetToolTipWindow(), nullptr);
    EXPECT_FALSE(::IsWindow(tip));
}

TEST_P(HyperLinkTest, IconOfTheStateIsDrawnLeftOfTheText)
{
    HWND hwnd = AddLink(L"www.kavrin.example", {260, 24});
    constexpr COLORREF kIconNormal = RGB(255, 128, 0);
    constexpr COLORREF kIconHover = RGB(0, 200, 200);
    link.SetIcons(SolidIcon(kIconNormal), SolidIcon(kIconHover));

    CPixels pixels = CPixels::Print(hwnd);
    const auto icon = pixels.Bounds(kIconNormal);
    const auto text = pixels.Bounds(kNormal, kTextTolerance);
    ASSERT_TRUE(icon && text);
    const int size = ::GetSystemMetrics(SM_CXSMICON);
    EXPECT_EQ(icon->right - icon->left, size);
    EXPECT_EQ(icon->bottom - icon->top, size);
    EXPECT_LT(icon->right, text->left);
    EXPECT_EQ(pixels.Count(kIconHover), 0);

    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    pixels = CPixels::Print(hwnd);
    EXPECT_EQ(pixels.Count(kIconHover), size * size);
    EXPECT_EQ(pixels.Count(kIconNormal), 0);
    // No icon of its own for the visited state: the normal one.
    ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    link.SetVisited(true);
    EXPECT_EQ(CPixels::Print(hwnd).Count(kIconNormal), size * size);
}

TEST_P(HyperLinkTest, IconsLoadFromTheProgramsResources)
{
    AddLink();
    EXPECT_TRUE(link.SetIconResource(::GetModuleHandleW(nullptr), IDR_MAINFRAME));
    EXPECT_FALSE(link.SetIconResources(::GetModuleHandleW(nullptr), IDR_MAINFRAME, 9999, IDR_MAINFRAME));
}

TEST_P(HyperLinkTest, FontTakesFaceAndWeightAndIsUnderlined)
{
    HWND hwnd = AddLink();
    link.SetFontName(L"Arial").SetFontWeight(500);
    LOGFONTW font = Describe(reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    EXPECT_STREQ(font.lfFaceName, L"Arial");
    EXPECT_EQ(font.lfWeight, 500);
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_EQ(font.lfHeight, -ScreenPixelsFromPoints(8)) << "the size of the dialog font";

    link.SetFontName(L"Times New Roman").SetFontWeight(FW_NORMAL).SetFontUnderline(false);
    font = Describe(link.GetFont());
    EXPECT_STREQ(font.lfFaceName, L"Times New Roman");
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_FALSE(font.lfUnderline);
}

TEST_P(HyperLinkTest, ToolTipGoesWithTheWindow)
{
    HWND hwnd = AddLink();
    link.SetToolTip(kSite);
    HWND tip = link.GetToolTipWindow();
    ASSERT_TRUE(::IsWindow(tip));
    ::DestroyWindow(hwnd);
    EXPECT_FALSE(::IsWindow(tip));
    EXPECT_EQ(link.GetSafeHwnd(), nullptr);
    link.SetVisited(true).SetToolTip(L"after the window");
    EXPECT_EQ(link.GetToolTipWindow(), nullptr);
}

TEST_P(HyperLinkTest, ToolTipAndFontGoWithTheLinkWhenTheWindowStays)
{
    HWND hwnd = AddLink();
    auto email = std::make_unique<CHyperLink>();
    link.Detach();
    ASSERT_TRUE(email->SubclassWindow(hwnd));
    email->SetToolTip(L"mailto:support@kavrin.example");
    HWND tip = email->GetToolTipWindow();
    HFONT font = email->GetFont();
    ASSERT_TRUE(::IsWindow(tip));
    ASSERT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    email.reset();
    EXPECT_TRUE(::IsWindow(hwnd));
    EXPECT_FALSE(::IsWindow(tip));
    EXPECT_EQ(::GetObjectType(font), 0u);
    // The control answers as itself again.
    EXPECT_NE(::SendMessageW(hwnd, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
}

INSTANTIATE_TEST_SUITE_P(OnButtonsAndStatics, HyperLinkTest, ::testing::Values(L"Button", L"Static"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                             return std::wstring(info.param) == L"Button" ? std::string("Button")
                                                                          : std::string("Static");
                         });
} // namespace
