// The exit-time dialog from template 141, driven by messages.

#include "dialogs/ExitTimeDlg_win.h"
#include "resources/ExitTimeDlgRes.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

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
    HWND Field() const { return m_field.GetSafeHwnd(); }
    std::wstring Seconds() const { return m_field.GetWindowText(); }
    void Press(UINT key, int times) const
    {
        for (int i = 0; i < times; ++i)
        {
            ::SendMessageW(Field(), WM_KEYDOWN, key, 0);
            ::SendMessageW(Field(), WM_KEYUP, key, 0);
        }
    }
    bool Explains(const wchar_t* delay) const
    {
        const std::wstring text = m_explanation.GetWindowText();
        return text.size() > wcslen(delay) && text.compare(text.size() - wcslen(delay), std::wstring::npos, delay) == 0;
    }

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
    const int lead = m_explanation.GetTextLength() - 16;
    for (const int position : {0, lead - 1, lead, lead + 15})
    {
        m_explanation.SetSel(position, position + 1);
        const CHARFORMAT2W format = m_explanation.GetSelectionCharFormat();
        EXPECT_EQ(format.crTextColor, position < lead ? RGB(0, 0, 255) : RGB(255, 0, 0)) << position;
        EXPECT_EQ(format.dwEffects & (CFE_BOLD | CFE_ITALIC), DWORD{CFE_BOLD | CFE_ITALIC});
        EXPECT_EQ(std::wstring(format.szFaceName), L"Arial");
    }
}

TEST_F(ExitTimeDlgTest, TypedNumbersBelowThirtyBecomeThirtyAndArrowsStopAtTheLimits)
{
    Open(10000);
    EXPECT_EQ(Seconds(), L"30");
    EXPECT_TRUE(Explains(L"set at 0 min 10 seconds")) << "as opened";
    ::SendMessageW(Field(), EM_SETSEL, 0, -1);
    ::SendMessageW(Field(), WM_CHAR, L'2', 0);
    EXPECT_EQ(Seconds(), L"30");
    Press(VK_DOWN, 2);
    EXPECT_EQ(Seconds(), L"30");
    ::SetWindowTextW(Field(), L"299");
    Press(VK_UP, 2);
    EXPECT_EQ(Seconds(), L"300");
    EXPECT_EQ(m_dialog.m_dwTimeToExit, 300000u);
    EXPECT_TRUE(Explains(L"set at 5 min 0 seconds"));
}

TEST_F(ExitTimeDlgTest, OkAnswersWholeSecondsWithinTheLimitsAndCancelNothing)
{
    const struct
    {
        const wchar_t* field;
        int button;
        std::uint32_t ms;
    } cases[] = {{L"29", IDOK, 30000}, {L"450", IDOK, 450000}, {L"", IDOK, 30000},
                 {L"5000000", IDOK, 4294967000u}, {L"45", IDCANCEL, 45000}};
    for (const auto& c : cases)
    {
        Open(60000);
        ::SetWindowTextW(Field(), c.field);
        ::SendMessageW(m_dialog.GetDlgItem(c.button), BM_CLICK, 0, 0);
        EXPECT_EQ(m_dialog.GetResult(), c.button);
        EXPECT_EQ(m_dialog.m_dwTimeToExit, c.ms) << testing::PrintToString(std::wstring(c.field));
        m_dialog.DestroyDialogWindow();
    }
}
