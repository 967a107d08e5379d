// The update check against the local site: in the main window and for a release. Kavrin's own offer at
// start is InstallerTest's path.

#include "UpdateTestSupport.h"
#include "framework/Exceptions_win.h"
#include "mainwnd/KavrinDlg_win.h"
#include "resources/resource.h"
#include "tests/support/win/KavrinKey.h"
#include "tests/support/win/ShellIcon.h"
#include "update/ReleaseVersionFile_win.h"
#include "update/UpdateCheck_win.h"
#include "update/VersionFile.h"

#include <shlobj.h>
#include <wininet.h>

#include <ctime>
#include <filesystem>

namespace
{
using namespace Settings::Names;
constexpr wchar_t kVersionFile[] = L"Halvanworks\\KavrinVersion.txt";

class UpdateCheckTest : public KavrinKeyTest
{
protected:
    void SetUp() override
    {
        REQUIRE_TEST_SITE();
        m_environment.sites = TestSite::At(KAVRIN_TEST_HTTP_ORIGIN);
    }

    // Counts the update dialogs shown, each cancelled.
    static CWindowWatcher Answer(int& shown)
    {
        return CWindowWatcher(L"Update Options", [&shown](HWND dialog) {
            ++shown;
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
    }
    // Kavrin's settings with the automatic check on and no synchronisation.
    static void CheckAtStart() { SeedKavrinKey({{CheckForUpdate, 1}, {SyncOnStart, 0}}); }

    UpdateEnvironment m_environment;
};
} // namespace

TEST_F(UpdateCheckTest, UnreachableOrSilentSiteAtStartIsToldOnceAndSetUpGoesOnWithin25Seconds)
{
    CheckAtStart();
    const std::pair<const wchar_t*, DWORD> sites[] = {{KAVRIN_TEST_UNREACHABLE_ORIGIN, ERROR_INTERNET_CANNOT_CONNECT},
                                                      {KAVRIN_TEST_SILENT_ORIGIN, ERROR_INTERNET_TIMEOUT}};
    for (const auto& [origin, error] : sites)
    {
        TestMakerSites() = TestSite::At(origin);
        CReportRecorder recorder;
        CKavrinDlg window;
        const ULONGLONG begun = ::GetTickCount64();
        ASSERT_TRUE(window.Create(nullptr));
        EXPECT_LT(::GetTickCount64() - begun, 25000u);
        EXPECT_EQ(recorder.reports, std::vector<std::wstring>{SystemErrorText(error, L"wininet.dll")});
        EXPECT_FALSE(window.GetTray().IsIconHidden());
        EXPECT_TRUE(::KillTimer(window.GetSafeHwnd(), CExitCountdown::kClockTimer)) << "the clock ticks";
    }
    TestMakerSites() = TestSite::At(KAVRIN_TEST_HTTPS_ORIGIN);
}

TEST_F(UpdateCheckTest, ReleaseFolderGetsItsVersionFileOnTheSecondRun)
{
    const std::wstring tree = L"C:\\KavrinReleaseTest" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring release = tree + L"\\Project\\Kavrin\\Release";
    ASSERT_EQ(::SHCreateDirectoryExW(nullptr, release.c_str(), nullptr), ERROR_SUCCESS);
    const std::wstring program = release + L"\\Kavrin.exe";
    ASSERT_TRUE(::CopyFileW((TestProgramFolder() + L"Kavrin.exe").c_str(), program.c_str(), FALSE));
    const std::wstring versionFile = tree + L"\\Project\\Kavrin\\KavrinSetup\\KavrinVersion.txt";
    TestSite::Publish(L"Halvanworks\\KavrinVersion.txt", "4.2.2.1\n");
    int notices = 0;
    const CWindowWatcher watcher = Answer(notices);

    EXPECT_FALSE(WriteReleaseVersionFile(nullptr, L"", program, m_environment));
    EXPECT_TRUE(std::filesystem::is_directory(tree + L"\\Project\\Kavrin\\KavrinSetup"));
    EXPECT_FALSE(std::filesystem::exists(versionFile));
    EXPECT_EQ(notices, 0);

    EXPECT_TRUE(WriteReleaseVersionFile(nullptr, L"", program, m_environment));
    const std::string text = ReadBytes(versionFile);
    EXPECT_EQ(text, VersionFile::Format(std::stoull(text), {KAVRIN_VERSION_BINARY}));
    EXPECT_NEAR(std::stod(text), static_cast<double>(std::time(nullptr)), 60.0);
    EXPECT_EQ(notices, 1) << "the publisher notice: the running version is not published yet";
    std::filesystem::remove_all(std::filesystem::path(tree));
}

TEST_F(UpdateCheckTest, MainWindowChecksOnItem17AndOnItem19EvenWhenItTurnsTheCheckOff)
{
    CheckAtStart();
    TestSite::Publish(kVersionFile, KAVRIN_VERSION_TEXT "\n");
    int shown = 0;
    const CWindowWatcher watcher = Answer(shown);
    CKavrinDlg window;
    ASSERT_TRUE(window.Create(nullptr));
    EXPECT_EQ(shown, 0) << "set-up keeps quiet about the same version";
    for (const UINT item : {IDM_AUTO_CHECK_UPDATE, IDM_CHECK_NEWER_VERSION})
        ::SendMessageW(window.GetSafeHwnd(), WM_SYSCOMMAND, item, 0);
    EXPECT_EQ(shown, 2);
    EXPECT_FALSE(window.GetSettings().CheckForUpdate);
}

TEST_F(UpdateCheckTest, UpdateNowStartsTheSetupAndEndsTheWindowWithItsIconRemoved)
{
    SeedKavrinKey({{CheckForUpdate, 0}, {SyncOnStart, 0}});
    TestSite::Publish(kVersionFile, std::to_string(KAVRIN_VERSION_MAJOR + 1) + ".0.0.0\n");
    TestSite::Publish(L"KavrinSetup.exe", TestSite::Bytes(L"docroot\\SignedSetup.exe"));
    const std::wstring saved = DownloadsFolder() + L"\\Halvanworks\\KavrinSetup.exe";
    const CWindowWatcher watcher(L"Update Options", [](HWND dialog) {
        ::PostMessageW(::GetDlgItem(dialog, IDC_UPDATE_NOW), BM_CLICK, 0, 0);
    });
    CKavrinDlg window;
    ASSERT_TRUE(window.Create(nullptr));
    const HWND tray = window.GetTray().GetIconData().hWnd;
    ASSERT_TRUE(ShellHasIcon(tray, CSystemTray::kIconId));

    ::SendMessageW(window.GetSafeHwnd(), WM_SYSCOMMAND, IDM_CHECK_NEWER_VERSION, 0);
    EXPECT_TRUE(window.IsEnded() && window.GetResult() == 0) << "the window ends as \"Exit without saving\" does";
    EXPECT_FALSE(ShellHasIcon(tray, CSystemTray::kIconId));
    EXPECT_TRUE(WaitUntil([&] { return std::filesystem::exists(saved + L".ran"); }, 10000)) << "the setup ran";
    for (const std::wstring& file : {saved, saved + L".ran"})
        ::DeleteFileW(file.c_str());
}
