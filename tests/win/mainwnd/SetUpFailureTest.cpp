// A main window whose set-up fails is reported and ends, leaving nothing behind.

#include "MainWindowTestSupport_win.h"
#include "framework/CallbackGuard_win.h"
#include "tests/support/win/ShellIcon.h"

#include <stdexcept>

namespace
{
class CFailingKavrinDlg final : public CKavrinDlg
{
protected:
    bool OnInitDialog() override
    {
        CKavrinDlg::OnInitDialog();
        m_hTrayWindow = GetTray().GetIconData().hWnd;
        throw std::runtime_error("set-up failed");
    }

public:
    HWND m_hTrayWindow = nullptr;
};
} // namespace

TEST_F(MainWindowTest, AnExceptionDuringSetUpIsReportedAndEndsTheWindowWithItsIcon)
{
    std::vector<std::wstring> reports;
    SetExceptionReporter([&](const std::wstring& text) { reports.push_back(text); });
    CFailingKavrinDlg window;
    const INT_PTR result = window.DoModal();
    SetExceptionReporter({});

    EXPECT_EQ(result, -1);
    EXPECT_EQ(reports, std::vector<std::wstring>{L"set-up failed"});
    EXPECT_FALSE(window.IsWindow());
    ASSERT_NE(window.m_hTrayWindow, nullptr) << "the icon was there before the failure";
    EXPECT_FALSE(ShellHasIcon(window.m_hTrayWindow, CSystemTray::kIconId));
}
