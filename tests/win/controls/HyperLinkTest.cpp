#include "controls/HyperLink_win.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{
constexpr int kLinkId = 1057;
constexpr COLORREF kColours[] = {RGB(0, 0, 255), RGB(0, 128, 0), RGB(128, 0, 0)}; // normal, hover, visited
constexpr COLORREF kFace = RGB(240, 240, 240);
constexpr wchar_t kSite[] = L"https://www.kavrin.example/";

// The link on a button or a static, opening into a list of (owner, target).
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

TEST_P(HyperLinkTest, TextShowsTheState)
{
    for (int state = 0; state < 3; ++state)
    {
        SCOPED_TRACE(state);
        if (state == 1)
            ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        if (state == 2)
        {
            ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
            link.SetVisited(true);
        }
        const CPixels pixels = CPixels::Print(hwnd);
        for (int other = 0; other < 3; ++other)
            EXPECT_EQ(pixels.Count(kColours[other], 24) > 20, other == state) << other;
    }
}

TEST_P(HyperLinkTest, ClickOrSpaceUnderTheHandOpensTheTargetAndTellsTheDialog)
{
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
    ::SendMessageW(hwnd, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(std::count(host.commands.begin(), host.commands.end(), std::pair(kLinkId, BN_CLICKED)), 2);
}

INSTANTIATE_TEST_SUITE_P(OnButtonsAndStatics, HyperLinkTest, ::testing::Values(L"Button", L"Static"),
                         [](const auto& info) { return std::string(info.param[0] == L'B' ? "Button" : "Static"); });

TEST(ShellOpen, AnswersFalseWhenTheShellCannotOpenTheTarget)
{
    EXPECT_FALSE(ShellOpen(nullptr, L"C:\\no such folder\\no such file.kavrin-test"));
}
} // namespace
