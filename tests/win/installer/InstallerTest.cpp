// KavrinSetup.exe and its uninstaller in the test prefix: silently, and as the update Kavrin starts.
#include "UpdateTestSupport.h"
#include "resources/resource.h"
#include "tests/support/win/KavrinKey.h"
#include "update/FileVersionInfo_win.h"

#include <shlobj.h>

namespace
{
using namespace Settings::Names;
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kavrin";

std::wstring InstallFolder() { return ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Halvanworks\\Kavrin"; } // as the installer's bitness
std::wstring MenuFolder() { return ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\Kavrin"; }
std::wstring StartupLink(int csidl) { return ShellFolder(csidl) + L"\\Kavrin.lnk"; }

// The logon task of "Start with Windows without a UAC prompt" in the prefix's task store.
std::wstring TaskStoreFile()
{
    wchar_t system[MAX_PATH] = {};
    return std::wstring(system, ::GetSystemDirectoryW(system, MAX_PATH)) + L"\\Tasks\\Halvanworks\\Kavrin";
}

bool Installed() { return ReadRawKey(kUninstallKey, HKEY_LOCAL_MACHINE).has_value(); }

std::wstring UninstallValue(const wchar_t* name)
{
    wchar_t text[MAX_PATH] = {};
    DWORD size = sizeof text;
    ::RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

// A visible window whose text begins with `text`: of any process when `parent` is null.
HWND WaitForWindow(HWND parent, const std::wstring& text, DWORD timeoutMs = 30000)
{
    HWND found = nullptr;
    const auto match = [&](HWND window) { return WindowText(window).starts_with(text); };
    WaitUntil([&] { return (found = FindVisibleWindow(match, parent)) != nullptr; }, timeoutMs);
    return found;
}

void Next(HWND wizard) { ::PostMessageW(::GetDlgItem(wizard, IDOK), BM_CLICK, 0, 0); } // also Install, Finish...

class InstallerTest : public KavrinKeyTest
{
protected:
    void SetUp() override
    {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        SeedKavrinKey({{SyncOnStart, 0}, {CheckForUpdate, 0}});
    }
    void TearDown() override
    {
        DWORD wizardProcess = 0; // a wizard left open by a failed test would keep ctest waiting
        if (::GetWindowThreadProcessId(WaitForWindow(nullptr, L"Kavrin Setup", 0), &wizardProcess) && wizardProcess)
            ::TerminateProcess(CUniqueKernelHandle(::OpenProcess(PROCESS_TERMINATE, FALSE, wizardProcess)).Get(), 1);
        if (Installed())
            Uninstall();
        KavrinKeyTest::TearDown();
    }

    static void Install()
    {
        CProcessRunner setup;
        DWORD exitCode = 1;
        ASSERT_TRUE(setup.Start(L"KavrinSetup.exe", L"/S") && setup.WaitForExit(60000, exitCode) && exitCode == 0);
    }
    static void Uninstall() // the entry's silent command, which goes on from a copy of itself
    {
        const std::wstring command = UninstallValue(L"QuietUninstallString");
        const std::size_t quote = command.find(L'"', 1);
        ASSERT_TRUE(command.starts_with(L'"') && quote != std::wstring::npos) << testing::PrintToString(command);
        CProcessRunner uninstaller;
        ASSERT_TRUE(uninstaller.StartPath(command.substr(1, quote - 1), command.substr(quote + 1)));
        ASSERT_TRUE(WaitUntil([] { return !Installed(); }));
    }
};
} // namespace

TEST_F(InstallerTest, SilentInstallPutsEverythingInPlaceAndSilentUninstallKeepsOnlyTheSettings)
{
    Install();
    const std::wstring folder = InstallFolder() + L"\\";
    for (const std::wstring program : {L"Kavrin", L"ResetKavrinStart"})
    {
        EXPECT_TRUE(Exists(folder + program + L".exe")) << program;
        EXPECT_EQ(ShortcutTarget(MenuFolder() + L"\\" + program + L".lnk"), folder + program + L".exe");
    }
    EXPECT_EQ(ShortcutTarget(MenuFolder() + L"\\Uninstall Kavrin.lnk"), folder + L"Uninstall.exe");

    EXPECT_TRUE(CFileVersionInfo().ReadFromFile(TestProgramFolder() + L"KavrinSetup.exe")) << "the setup's own version resource";
    EXPECT_EQ(UninstallValue(L"UninstallString"), L"\"" + folder + L"Uninstall.exe\"");

    const std::wstring program = folder + L"Kavrin.exe";
    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.StartPath(program, L""));
    const HWND window = kavrin.WaitForWindow(L"Kavrin", 20000);
    ASSERT_TRUE(window) << "the installed program shows its window";
    ::PostMessageW(window, WM_SYSCOMMAND, IDM_START_WITH_WINDOWS, 0);
    EXPECT_TRUE(WaitUntil([] { return Exists(StartupLink(CSIDL_STARTUP)); }, 10000));
    EXPECT_EQ(ShortcutTarget(StartupLink(CSIDL_STARTUP)), program) << "the shortcut starts the installed program";
    const std::wstring savedLink = TestProgramFolder() + L"saved.lnk", task = TaskStoreFile();
    ::CopyFileW(StartupLink(CSIDL_STARTUP).c_str(), savedLink.c_str(), FALSE);
    ::PostMessageW(window, WM_SYSCOMMAND, IDM_START_WITHOUT_UAC, 0);
    EXPECT_TRUE(WaitUntil([&] { return Exists(task) && !Exists(StartupLink(CSIDL_STARTUP)); }, 10000))
        << "the logon task takes the shortcut's place";
    kavrin.Close(window);
    for (const int csidl : {CSIDL_STARTUP, CSIDL_COMMON_STARTUP}) // both Startup folders as well
        ::CopyFileW(savedLink.c_str(), StartupLink(csidl).c_str(), FALSE);
    ::DeleteFileW(savedLink.c_str());

    Uninstall();
    for (const std::wstring& path : {ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Halvanworks", MenuFolder(),
                                     StartupLink(CSIDL_STARTUP), StartupLink(CSIDL_COMMON_STARTUP), task})
        EXPECT_FALSE(Exists(path)) << testing::PrintToString(path);
    EXPECT_TRUE(ReadRawKey(Settings::kKeyPath)) << "the user's settings stay";
}

// Kavrin finds the newer release; "Update Kavrin Now" starts the downloaded setup, which installs.
TEST_F(InstallerTest, UpdateNowStartsTheDownloadedSetupWhichInstalls)
{
    REQUIRE_TEST_SITE();
    SeedKavrinKey({{SyncOnStart, 0}, {CheckForUpdate, 1}});
    TestSite::Publish(L"Halvanworks\\KavrinVersion.txt", ReadBytes(TestProgramFolder() + L"newer-release\\KavrinVersion.txt"));
    TestSite::Publish(L"KavrinSetup.exe", TestSite::Bytes(L"docroot\\SignedKavrinSetup.exe"));
    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.Start(L"KavrinLocalSite.exe", L""));
    const HWND updateNow = ::GetDlgItem(kavrin.WaitForWindow(L"Update Options", 20000), IDC_UPDATE_NOW);
    ASSERT_TRUE(::IsWindowVisible(updateNow)) << "mode 1";
    ::PostMessageW(updateNow, BM_CLICK, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(kavrin.WaitForExit(60000, exitCode) && exitCode == 0) << exitCode;

    const HWND wizard = WaitForWindow(nullptr, L"Kavrin Setup");
    ASSERT_TRUE(wizard);
    const std::wstring downloaded = DownloadsFolder() + L"\\Halvanworks\\KavrinSetup.exe";
    EXPECT_TRUE(Exists(downloaded));
    Next(wizard);
    const HWND startNow = WaitForWindow(wizard, L"Start Kavrin now");
    ASSERT_TRUE(startNow) << "the finish page";
    EXPECT_TRUE(Installed() && Exists(InstallFolder() + L"\\Kavrin.exe"));
    ::SendMessageW(startNow, BM_CLICK, 0, 0); // not started
    Next(wizard);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(wizard); }));
    ::DeleteFileW(downloaded.c_str());
}
