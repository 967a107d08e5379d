// The exit-time dialog from template 141, driven by messages.
#include "mainwnd/ExitTimeDlg_win.h"
#include "resources/ExitTimeDlgRes.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <tuple>

namespace
{
class ExitTimeDlgTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ::LoadLibraryW(L"Riched20.dll");
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS};
        ::InitCommonControlsEx(&controls);
    }
    void Open(std::uint32_t timeToExitMs)
    {
        m_dialog.m_dwTimeToExit = timeToExitMs;
        ASSERT_TRUE(m_dialog.Create(nullptr));
        m_explanation.Attach(m_dialog.GetSafeHwnd(), IDC_EXIT_EXPLANATION);
        m_field.Attach(m_dialog.GetSafeHwnd(), IDC_EXIT_SECONDS);
    }
    std::wstring Seconds() const { return m_field.GetWindowText(); }
    void Send(UINT message, WPARAM wp, LPARAM lp = 0) const { ::SendMessageW(m_field.GetSafeHwnd(), message, wp, lp); }
    bool Explains(std::wstring_view delay) const { return m_explanation.GetWindowText().ends_with(delay); }

    CExitTimeDlg m_dialog;
    CRichEditCtrl m_explanation;
    CWnd m_field;
};
} // namespace

TEST_F(ExitTimeDlgTest, OpensWithTheDelayInSecondsExplainedInTwoColours)
{
    Open(60000);
    EXPECT_EQ(Seconds(), L"60");
    ASSERT_TRUE(Explains(L"set at 1 min 0 seconds")) << testing::PrintToString(m_explanation.GetWindowText());
    const auto colourAt = [this](int position) {
        m_explanation.SetSel(position, position + 1);
        return m_explanation.GetSelectionCharFormat().crTextColor;
    };
    const int lead = m_explanation.GetTextLength() - 16;
    EXPECT_TRUE(colourAt(0) == colourAt(lead - 1) && colourAt(lead) == colourAt(lead + 15));
    EXPECT_NE(colourAt(lead - 1), colourAt(lead)) << "the delay stands out";
}

TEST_F(ExitTimeDlgTest, TypedNumbersBelowThirtyBecomeThirtyAndArrowsStopAtTheLimits)
{
    Open(10000);
    EXPECT_EQ(Seconds(), L"30");
    EXPECT_TRUE(Explains(L"set at 0 min 10 seconds")) << "as opened";
    Send(EM_SETSEL, 0, -1);
    Send(WM_CHAR, L'2');
    EXPECT_EQ(Seconds(), L"30");
    for (const auto& [start, key, after] : {std::tuple{L"30", VK_DOWN, L"30"}, {L"299", VK_UP, L"300"}})
    {
        ::SetWindowTextW(m_field.GetSafeHwnd(), start);
        for (const UINT message : {WM_KEYDOWN, WM_KEYUP, WM_KEYDOWN, WM_KEYUP})
            Send(message, key);
        EXPECT_EQ(Seconds(), after);
    }
    EXPECT_EQ(m_dialog.m_dwTimeToExit, 300000u);
    EXPECT_TRUE(Explains(L"set at 5 min 0 seconds"));
}
