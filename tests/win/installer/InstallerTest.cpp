// KavrinSetup.exe and its uninstaller, run for real in the test prefix,
// silently and as the update that Kavrin downloads and starts.

#include "UpdateTestSupport.h"
#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "framework/Handles_win.h"
#include "resources/resource.h"
#include "tests/support/win/ProcessRunner.h"
#include "update/FileVersionInfo_win.h"

#include <objbase.h>
#include <shlobj.h>

namespace
{
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kavrin";

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return path;
}

// The test program has the installer's bitness: the same program-files folder.
std::wstring InstallFolder() { return ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Halvanworks\\Kavrin"; }
std::wstring MenuFolder() { return ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\Kavrin"; }
std::wstring StartupLink(int csidl) { return ShellFolder(csidl) + L"\\Kavrin.lnk"; }
bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(HKEY root, const wchar_t* path)
{
    CUniqueRegKey key;
    return ::RegOpenKeyExW(root, path, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}
bool Installed() { return KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); }

std::wstring UninstallValue(const wchar_t* name)
{
    wchar_t text[MAX_PATH] = {};
    DWORD size = sizeof text;
    ::RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

std::wstring LinkTarget(const std::wstring& file)
{
    CComPtr<IShellLinkW> link;
    CComPtr<IPersistFile> persist;
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())) &&
        SUCCEEDED(link.As(persist)) && SUCCEEDED(persist->Load(file.c_str(), STGM_READ)))
        link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH);
    return path;
}

template <typename Done>
bool WaitUntil(Done done, DWORD timeoutMs = 30000)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done() && ::GetTickCount64() < end)
        ::Sleep(100);
    return done();
}

// The text sought, and the window found.
using WindowSearch = std::pair<const std::wstring*, HWND>;
BOOL CALLBACK FindVisibleText(HWND window, LPARAM lp)
{
    auto& [sought, found] = *reinterpret_cast<WindowSearch*>(lp);
    wchar_t text[128] = {};
    ::GetWindowTextW(window, text, 128);
    found = std::wstring_view(text).starts_with(*sought) && ::IsWindowVisible(window) ? window : nullptr;
    return found ? FALSE : TRUE;
}

// A visible window whose text begins with `text`: a top-level window of any
// process (a wizard) when `parent` is null, otherwise a control on its page.
HWND WaitForWindow(HWND parent, const std::wstring& text, DWORD timeoutMs = 30000)
{
    WindowSearch search{&text, nullptr};
    const LPARAM lp = reinterpret_cast<LPARAM>(&search);
    WaitUntil([&] {
        parent ? ::EnumChildWindows(parent, FindVisibleText, lp) : ::EnumWindows(FindVisibleText, lp);
        return search.second != nullptr;
    }, timeoutMs);
    return search.second;
}

// "Next", "Install", "Uninstall", "Finish" and "Close" are the wizard's IDOK.
void Next(HWND wizard) { ::PostMessageW(::GetDlgItem(wizard, IDOK), BM_CLICK, 0, 0); }

CUniqueKernelHandle ProcessOf(HWND window, DWORD access)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    return CUniqueKernelHandle(::OpenProcess(access, FALSE, processId));
}

class InstallerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        SeedSettings(false);
    }
    void TearDown() override
    {
        // A wizard that a failed test left open would keep ctest waiting for its output.
        if (const HWND wizard = WaitForWindow(nullptr, L"Kavrin Setup", 0))
            ::TerminateProcess(ProcessOf(wizard, PROCESS_TERMINATE).Get(), 1);
        if (Installed())
            Uninstall();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
    }

    // The user's settings: no synchronisation at start, the update check as asked.
    static void SeedSettings(bool checkForUpdate)
    {
        CSettingsKey settings;
        ASSERT_TRUE(settings.OpenKey(Settings::kKeyPath, true));
        settings.WriteNumber(Settings::Names::SyncOnStart, 0);
        settings.WriteNumber(Settings::Names::CheckForUpdate, checkForUpdate ? 1 : 0);
    }
    static void Install()
    {
        CProcessRunner setup;
        DWORD exitCode = 1;
        ASSERT_TRUE(setup.Start(L"KavrinSetup.exe", L"/S"));
        ASSERT_TRUE(setup.WaitForExit(60000, exitCode));
        ASSERT_EQ(exitCode, 0u);
    }
    // Runs the entry's silent uninstall command, which goes on from a copy of itself.
    static void Uninstall()
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

TEST_F(InstallerTest, SilentInstallPutsTheProgramsTheirShortcutsAndTheUninstallEntryInPlace)
{
    Install();
    const std::wstring folder = InstallFolder() + L"\\";
    for (const std::wstring program : {L"Kavrin", L"ResetKavrinStart"})
    {
        EXPECT_TRUE(Exists(folder + program + L".exe")) << program;
        EXPECT_EQ(LinkTarget(MenuFolder() + L"\\" + program + L".lnk"), folder + program + L".exe");
    }
    EXPECT_EQ(LinkTarget(MenuFolder() + L"\\Uninstall Kavrin.lnk"), folder + L"Uninstall.exe");

    CFileVersionInfo setup;
    EXPECT_TRUE(setup.ReadFromFile(TestProgramFolder() + L"KavrinSetup.exe")) << "the setup's own version resource";
    const std::wstring uninstaller = L"\"" + folder + L"Uninstall.exe\"";
    EXPECT_EQ(UninstallValue(L"UninstallString"), uninstaller);
    EXPECT_EQ(UninstallValue(L"InstallLocation"), InstallFolder());
}

TEST_F(InstallerTest, InstalledKavrinStartsWithWindowsAndSilentUninstallKeepsOnlyTheSettings)
{
    Install();
    const std::wstring program = InstallFolder() + L"\\Kavrin.exe";
    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.StartPath(program, L""));
    const HWND window = kavrin.WaitForWindow(L"Kavrin", 20000);
    ASSERT_TRUE(window) << "the installed program shows its window";
    ::PostMessageW(window, WM_SYSCOMMAND, IDM_START_WITH_WINDOWS, 0);
    EXPECT_TRUE(WaitUntil([] { return Exists(StartupLink(CSIDL_STARTUP)); }, 10000));
    EXPECT_EQ(LinkTarget(StartupLink(CSIDL_STARTUP)), program) << "the shortcut starts the installed program";
    kavrin.Close(window);
    // Kavrin also takes a shortcut in the all-users Startup folder as its own.
    ::CopyFileW(StartupLink(CSIDL_STARTUP).c_str(), StartupLink(CSIDL_COMMON_STARTUP).c_str(), FALSE);

    Uninstall();
    for (const std::wstring& path : {ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Halvanworks", MenuFolder(),
                                     StartupLink(CSIDL_STARTUP), StartupLink(CSIDL_COMMON_STARTUP)})
        EXPECT_FALSE(Exists(path)) << testing::PrintToString(path);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Settings::kKeyPath)) << "the user's settings stay";
}

// Kavrin (its local-site build) finds the newer release, "Update Kavrin Now"
// downloads the setup and starts it, and Kavrin ends; the setup then installs.
TEST_F(InstallerTest, UpdateNowStartsTheDownloadedSetupWhichInstalls)
{
    REQUIRE_TEST_SITE();
    SeedSettings(true);
    TestSite::Publish(L"Halvanworks\\KavrinVersion.txt",
                      ReadBytes(TestProgramFolder() + L"newer-release\\KavrinVersion.txt"));
    TestSite::Publish(L"KavrinSetup.exe", ReadBytes(TestProgramFolder() + L"KavrinSetup.exe"));
    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.Start(L"KavrinLocalSite.exe", L""));
    const HWND dialog = kavrin.WaitForWindow(L"Update Options", 20000);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(::IsWindowVisible(::GetDlgItem(dialog, IDC_UPDATE_NOW))) << "mode 1";
    ::PostMessageW(::GetDlgItem(dialog, IDC_UPDATE_NOW), BM_CLICK, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(kavrin.WaitForExit(60000, exitCode));
    EXPECT_EQ(exitCode, 0u);

    const HWND wizard = WaitForWindow(nullptr, L"Kavrin Setup");
    ASSERT_TRUE(wizard);
    const std::wstring downloaded = DownloadsFolder() + L"\\Halvanworks\\KavrinSetup.exe";
    EXPECT_TRUE(Exists(downloaded));
    Next(wizard);
    const HWND startNow = WaitForWindow(wizard, L"Start Kavrin now");
    ASSERT_TRUE(startNow) << "the finish page";
    EXPECT_TRUE(Installed());
    EXPECT_TRUE(Exists(InstallFolder() + L"\\Kavrin.exe"));
    ::SendMessageW(startNow, BM_CLICK, 0, 0);
    Next(wizard);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(wizard); }));
    ::DeleteFileW(downloaded.c_str());
}
