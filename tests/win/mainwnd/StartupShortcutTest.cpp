// "Start with Windows" against Wine's real Startup folders, read back through the shell.

#include "MainWindowTestSupport_win.h"
#include "tests/support/win/ModalDriver.h"

#include <shlobj.h>

#include <vector>

namespace
{
const std::wstring kUserLink = ShellFolder(CSIDL_STARTUP) + L"\\Kavrin.lnk";
const std::wstring kAllUsersLink = ShellFolder(CSIDL_COMMON_STARTUP) + L"\\Kavrin.lnk";

class StartupShortcutTest : public testing::Test
{
protected:
    void SetUp() override { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), TearDown(); }
    void TearDown() override
    {
        for (const std::wstring& link : {kUserLink, kAllUsersLink})
        {
            ::SetFileAttributesW(link.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(link.c_str());
        }
    }

    static void Plant(const std::wstring& link, const wchar_t* description)
    {
        ASSERT_EQ(CreateShortcut(L"C:\\elsewhere\\Kavrin.exe", L"", link, description, L"", L"", 0, 0), S_OK);
    }

    // Turns the option on or off; answers the texts of the message boxes shown.
    std::vector<std::wstring> Update(bool startWithWindows)
    {
        std::vector<std::wstring> messages;
        const CModalDriver driver([&] {
            if (const HWND box = ::FindWindowW(nullptr, L"Error"))
            {
                messages.push_back(Text(box, 0xFFFF)); // the message box's static
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
            return false;
        });
        m_shortcut.UpdateStartupShortcut(startWithWindows);
        return messages;
    }

    CStartupShortcut m_shortcut;
};
} // namespace

TEST_F(StartupShortcutTest, TurningOnCreatesAUserShortcutAndTurningOffDeletesTheAllUsersOneFirst)
{
    EXPECT_TRUE(Update(true).empty());
    const std::wstring programFiles = ShellFolder(CSIDL_PROGRAM_FILES);
    std::wstring directory;
    EXPECT_EQ(ShortcutTarget(kUserLink, &directory), programFiles + L"\\Halvanworks\\Kavrin\\Kavrin.exe");
    EXPECT_EQ(directory, programFiles);

    Plant(kAllUsersLink, L"all users");
    Update(false);
    EXPECT_FALSE(Exists(kAllUsersLink));
    EXPECT_TRUE(Exists(kUserLink));
    EXPECT_TRUE(Update(false).empty());
    EXPECT_FALSE(Exists(kUserLink));
}

TEST_F(StartupShortcutTest, FailuresNameThePath)
{
    Plant(kUserLink, L"read-only");
    ::SetFileAttributesW(kUserLink.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Update(false), std::vector<std::wstring>{L"Unable to delete Startup Shortcut - " + kUserLink});
}

TEST_F(StartupShortcutTest, AllUsersShortcutShowsTheOptionOnAtSetUp)
{
    Plant(kAllUsersLink, L"all users");
    FreshSettings(TestPeers::kNothingListening);
    CKavrinDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
    EXPECT_TRUE(::GetMenuState(::GetSystemMenu(dialog.GetSafeHwnd(), FALSE), IDM_START_WITH_WINDOWS, MF_BYCOMMAND) &
                MF_CHECKED);
}
