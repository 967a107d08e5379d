// The About box from template 100. Its update check is the main window's (UpdateCheckTest).

#include "UpdateTestSupport.h"
#include "update/AboutDlg_win.h"
#include "resources/resource.h"
#include "update/UpdateCheck.h"

#include <sys/stat.h>

#include <ctime>

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

std::wstring ProgramDate()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    struct _stat64 status{};
    ::_wstat64(path, &status);
    std::tm local{};
    ::_localtime64_s(&local, &status.st_mtime);
    return UpdateCheck::LongDate(local);
}
} // namespace

TEST_F(AboutDlgTest, HeaderNamesProductVersionAndBuildDateAndTheLinksTheMakersAddresses)
{
    EXPECT_EQ(ItemText(m_about.GetSafeHwnd(), IDC_ABOUT_HEADER),
              L"Kavrin\r\nVersion 4.2.2.5\r\n" + ProgramDate());
    EXPECT_EQ(ItemText(m_about.GetSafeHwnd(), IDC_EMAIL_LINK), L"support@kavrin.test");
    EXPECT_EQ(ItemText(m_about.GetSafeHwnd(), IDC_WEB_LINK), KAVRIN_TEST_HTTPS_ORIGIN);
}
