// The About box from template 100. Its update check is the main window's (UpdateCheckTest).

#include "UpdateTestSupport.h"
#include "update/AboutDlg_win.h"
#include "resources/resource.h"

#include <regex>

namespace
{
class AboutDlgTest : public testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_TEST_SITE();
        ASSERT_TRUE(m_about.Create(nullptr));
        m_about.ShowWindow(SW_SHOWNORMAL);
    }

    CAboutDlg m_about;
};
} // namespace

TEST_F(AboutDlgTest, HeaderNamesProductVersionAndBuildDateAndTheLinksTheMakersAddresses)
{
    const std::wstring header = ItemText(m_about.GetSafeHwnd(), IDC_ABOUT_HEADER);
    const std::wregex expected(L"Kavrin\r\nVersion " KAVRIN_VERSION_TEXT LR"(\r\n[A-Z][a-z]+ \d\d, 20\d\d)");
    EXPECT_TRUE(std::regex_match(header, expected)) << testing::PrintToString(header);
    EXPECT_EQ(ItemText(m_about.GetSafeHwnd(), IDC_EMAIL_LINK), L"support@kavrin.test");
    EXPECT_EQ(ItemText(m_about.GetSafeHwnd(), IDC_WEB_LINK), KAVRIN_TEST_HTTPS_ORIGIN);
}
