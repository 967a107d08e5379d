// The About box from template 100, and its update check over it.

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

TEST_F(AboutDlgTest, CheckForUpdateReportsTheSameVersionOverTheAboutBox)
{
    TestSite::Publish(L"Halvanworks\\KavrinVersion.txt", "4\n2\n2\n5\n");
    std::vector<HWND> owners;
    std::wstring emailCaption;
    const CWindowWatcher watcher(L"Update Options", [&](HWND dialog) {
        owners.push_back(::GetWindow(dialog, GW_OWNER));
        emailCaption = ItemText(dialog, IDC_DOWNLOAD_ONLY);
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dialog, IDC_UPDATE_NOW)));
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    ::SendMessageW(m_about.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_CHECK_FOR_UPDATE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(m_about.GetDlgItem(IDC_CHECK_FOR_UPDATE)));
    EXPECT_EQ(owners, std::vector<HWND>{m_about.GetSafeHwnd()});
    EXPECT_EQ(emailCaption, L"Email Halvanworks") << "mode 2";
    EXPECT_TRUE(m_about.IsWindow());
    EXPECT_FALSE(m_about.IsEnded());
}
