#include "controls/HyperLink_win.h"

#include "ControlTestSupport.h"

#include "resources/AppRes.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

namespace
{
constexpr int kLinkId = 1057;
constexpr COLORREF kColours[] = {RGB(0, 0, 255), RGB(0, 128, 0), RGB(128, 0, 0)}; // normal, hover, visited
constexpr COLORREF kFace = RGB(240, 240, 240);
constexpr wchar_t kSite[] = L"https://www.kavrin.example/";
constexpr wchar_t kMail[] = L"mailto:support@kavrin.example";

// A square icon of one colour, drawn opaque.
CUniqueIcon SolidIcon(COLORREF colour)
{
    const int size = ::GetSystemMetrics(SM_CXSMICON);
    const CTestSurface colourPlane({size, size}, colour), maskPlane({size, size}, RGB(0, 0, 0));
    ICONINFO info{TRUE, 0, 0, maskPlane.GetBitmap(), colourPlane.GetBitmap()};
    return CUniqueIcon(::CreateIconIndirect(&info));
}

// The link on a control of the class under test, a button or a static; the
// shell replaced by a list of the (owner, target) of each link opened.
class HyperLinkTest : public ::testing::TestWithParam<const wchar_t*>
{
protected:
    void SetUp() override
    {
        const DWORD style = std::wstring(GetParam()) == L"Button" ? BS_PUSHBUTTON | WS_TABSTOP : SS_LEFT;
        hwnd = host.AddChild(GetParam(), L"www.kavrin.example", style, RECT{20, 20, 280, 44}, kLinkId);
        ASSERT_TRUE(link.SubclassDlgItem(host.Get(), kLinkId));
        link.SetTarget(kSite).SetColors(kColours[0], kColours[1], kColours[2]).SetBkColor(kFace);
        link.SetLinkOpener([this](HWND owner, const std::wstring& target) {
            opened.emplace_back(owner, target);
            return true;
        });
    }

    CTestHost host;
    HWND hwnd = nullptr;
    CHyperLink link;
    std::vector<std::pair<HWND, std::wstring>> opened;
};

TEST_P(HyperLinkTest, TextAndIconShowTheStateOnTheBackground)
{
    EXPECT_FALSE(link.SetIconResources(::GetModuleHandleW(nullptr), IDR_MAINFRAME, 9999, IDR_MAINFRAME));
    EXPECT_TRUE(link.SetIconResource(::GetModuleHandleW(nullptr), IDR_MAINFRAME));
    const COLORREF icons[] = {RGB(255, 128, 0), RGB(0, 200, 200), RGB(255, 128, 0)}; // visited: the normal one
    link.SetIcons(SolidIcon(icons[0]), SolidIcon(icons[1]));
    const int size = ::GetSystemMetrics(SM_CXSMICON);
    const std::function<void()> enter[] = {
        [] {},
        [&] { ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10)); },
        [&] {
            ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
            link.SetVisited(true);
        },
    };
    for (int state = 0; state < 3; ++state)
    {
        SCOPED_TRACE(state);
        enter[state]();
        EXPECT_EQ(link.IsHovering(), state == 1);
        const CPixels pixels = CPixels::Print(hwnd, RGB(255, 0, 255));
        EXPECT_EQ(pixels.At(0, 0), kFace);
        EXPECT_EQ(pixels.Count(RGB(255, 0, 255)), 0);
        for (int other = 0; other < 3; ++other)
            EXPECT_EQ(pixels.Count(kColours[other], 24) > 20, other == state) << other;
        EXPECT_EQ(pixels.Count(icons[state]), size * size);
        const auto icon = pixels.Bounds(icons[state]);
        const auto text = pixels.Bounds(kColours[state], 24);
        ASSERT_TRUE(icon && text);
        EXPECT_LT(icon->right, text->left) << "the icon left of the text";
    }
}

TEST_P(HyperLinkTest, ClickSpaceEnterAndBmClickOpenTheTargetAndTellTheDialog)
{
    EXPECT_EQ(::SendMessageW(hwnd, WM_NCHITTEST, 0, 0), HTCLIENT);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(::SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));

    const auto click = [&](int upX) {
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(upX, 5));
    };
    click(5);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], std::make_pair(host.Get(), std::wstring(kSite)));
    EXPECT_TRUE(link.IsVisited());
    click(-30);
    EXPECT_EQ(opened.size(), 1u) << "let go outside: no click";

    ::SendMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(opened.size(), 1u) << "on release, like a button";
    ::SendMessageW(hwnd, WM_KEYUP, VK_SPACE, 0);
    // Enter goes to the focused link rather than to the dialog's default button.
    host.Show();
    ::SetFocus(hwnd);
    MSG enter{hwnd, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(::IsDialogMessageW(host.Get(), &enter));
    ::SendMessageW(hwnd, BM_CLICK, 0, 0);
    EXPECT_EQ(opened.size(), 4u);
    EXPECT_EQ(std::count(host.commands.begin(), host.commands.end(), std::pair(kLinkId, BN_CLICKED)), 4);
}

TEST_P(HyperLinkTest, ToolTipAndFontGoWithTheLinkOrWithTheWindow)
{
    // The dialog's font, underlined.
    const LOGFONTW description = Describe(reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    EXPECT_TRUE(description.lfUnderline);
    EXPECT_EQ(description.lfHeight, -ScreenPixelsFromPoints(8));

    const auto tipText = [&](HWND tip) {
        wchar_t text[256] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = host.Get();
        tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
        tool.lpszText = text;
        ::SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
        return std::wstring(text);
    };
    auto email = std::make_unique<CHyperLink>();
    link.Detach();
    ASSERT_TRUE(email->SubclassDlgItem(host.Get(), kLinkId));
    HWND tip = email->SetToolTip(kSite).GetToolTipWindow();
    EXPECT_EQ(tipText(tip), kSite);
    email->SetToolTip(kMail);
    EXPECT_EQ(email->GetToolTipWindow(), tip);
    EXPECT_EQ(tipText(tip), kMail);
    email->SetToolTip(L"");
    EXPECT_EQ(email->GetToolTipWindow(), nullptr);
    EXPECT_FALSE(::IsWindow(tip));
    tip = email->SetToolTip(kMail).GetToolTipWindow();
    ASSERT_TRUE(::IsWindow(tip));
    const HFONT font = email->GetFont();
    ASSERT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    email.reset();
    EXPECT_FALSE(::IsWindow(tip));
    EXPECT_EQ(::GetObjectType(font), 0u);
    EXPECT_NE(::SendMessageW(hwnd, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font)) << "the control is itself again";

    ASSERT_TRUE(link.SubclassDlgItem(host.Get(), kLinkId));
    link.SetToolTip(kSite);
    ::DestroyWindow(hwnd);
    EXPECT_FALSE(::IsWindow(link.GetToolTipWindow()));
    EXPECT_EQ(link.GetSafeHwnd(), nullptr);
    link.SetVisited(true).SetToolTip(L"after the window");
    EXPECT_EQ(link.GetToolTipWindow(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(OnButtonsAndStatics, HyperLinkTest, ::testing::Values(L"Button", L"Static"),
                         [](const auto& info) { return std::string(info.param[0] == L'B' ? "Button" : "Static"); });

TEST(ShellOpen, AnswersFalseWhenTheShellCannotOpenTheTarget)
{
    EXPECT_FALSE(ShellOpen(nullptr, L""));
    EXPECT_FALSE(ShellOpen(nullptr, L"C:\\no such folder\\no such file.kavrin-test"));
}
} // namespace
