// "Start with Windows" against Wine's real Startup folders, read back through the shell, and without a UAC
// prompt against Wine's Task Scheduler, read back through its COM interfaces.

#include "MainWindowTestSupport_win.h"
#include "mainwnd/LogonTask_win.h"
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
        RemoveLogonTask();
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

    // Turns the option on or off (or does `action`); answers the texts of the message boxes shown.
    std::vector<std::wstring> Update(bool startWithWindows)
    {
        return Update([&] { m_shortcut.UpdateStartupShortcut(startWithWindows); });
    }
    static std::vector<std::wstring> Update(const std::function<void()>& action)
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
        action();
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

TEST_F(StartupShortcutTest, TheLogonTaskAndTheShortcutExcludeEachOther)
{
    FreshSettings(TestPeers::kNothingListening);
    CKavrinDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    const HWND main = dialog.GetSafeHwnd();
    const auto toggle = [main](UINT id) { ::SendMessageW(main, WM_SYSCOMMAND, id, 0); };
    const auto checks = [main](HWND window = nullptr) {
        const HMENU menu = ::GetSystemMenu(window ? window : main, FALSE);
        return std::vector<bool>{(::GetMenuState(menu, IDM_START_WITH_WINDOWS, MF_BYCOMMAND) & MF_CHECKED) != 0,
                                 (::GetMenuState(menu, IDM_START_WITHOUT_UAC, MF_BYCOMMAND) & MF_CHECKED) != 0};
    };
    toggle(IDM_START_WITH_WINDOWS);
    toggle(IDM_START_WITHOUT_UAC);
    // Wine's scheduler keeps what it reads of a definition: its description and settings, but no trigger,
    // principal or action (the native LogonTask test checks those in the definition handed to it).
    const std::optional<std::wstring> task = ReadLogonTask();
    ASSERT_TRUE(task);
    for (const wchar_t* part : {L"<Description>Run Halvanworks Kavrin program</Description>",
                                L"<DisallowStartIfOnBatteries>false", L"<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>"})
        EXPECT_NE(task->find(part), std::wstring::npos) << testing::PrintToString(*task);
    EXPECT_EQ(checks(), (std::vector<bool>{false, true}));
    EXPECT_FALSE(Exists(kUserLink));
    CKavrinDlg next;
    ASSERT_TRUE(next.Create(nullptr));
    EXPECT_EQ(checks(next.GetSafeHwnd()), (std::vector<bool>{false, true})) << "the next start finds the task";

    toggle(IDM_START_WITH_WINDOWS);
    EXPECT_EQ(checks(), (std::vector<bool>{true, false}));
    EXPECT_FALSE(ReadLogonTask());
    toggle(IDM_START_WITHOUT_UAC);
    toggle(IDM_START_WITHOUT_UAC);
    EXPECT_EQ(checks(), (std::vector<bool>{false, false}));
    EXPECT_FALSE(ReadLogonTask() || Exists(kUserLink));

    // A file where the publisher's task folder belongs.
    wchar_t system[MAX_PATH] = {};
    const std::wstring blocker = std::wstring(system, ::GetSystemDirectoryW(system, MAX_PATH)) + L"\\Tasks\\Halvanworks";
    ASSERT_TRUE(CUniqueFile(::CreateFileW(blocker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)).IsValid());
    const std::vector<std::wstring> messages = Update([&] { toggle(IDM_START_WITHOUT_UAC); });
    ::DeleteFileW(blocker.c_str());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].starts_with(L"Unable to create Startup Task - ")) << testing::PrintToString(messages);
    EXPECT_EQ(checks(), (std::vector<bool>{false, false}));
}
