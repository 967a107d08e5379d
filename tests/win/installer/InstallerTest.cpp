// KavrinSetup.exe and its uninstaller, run for real in the test prefix:
// silently, through the uninstaller's pages, and as the update that Kavrin
// downloads from the local site and starts.

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

// The test program has the installer's bitness, so it sees the same
// program-files folder.
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

struct WindowSearch
{
    const std::wstring* text;
    HWND found;
};

BOOL CALLBACK FindVisibleText(HWND window, LPARAM lp)
{
    auto& search = *reinterpret_cast<WindowSearch*>(lp);
    wchar_t text[128] = {};
    ::GetWindowTextW(window, text, 128);
    search.found = std::wstring_view(text).starts_with(*search.text) && ::IsWindowVisible(window) ? window : nullptr;
    return search.found ? FALSE : TRUE;
}

// A visible window whose text begins with `text`: a top-level window of any
// process (the setup's or the uninstaller's wizard) when `parent` is null,
// otherwise a control on the wizard's current page.
HWND WaitForWindow(HWND parent, const std::wstring& text, DWORD timeoutMs = 30000)
{
    WindowSearch search{&text, nullptr};
    const auto find = [&] {
        const LPARAM lp = reinterpret_cast<LPARAM>(&search);
        parent ? ::EnumChildWindows(parent, FindVisibleText, lp) : ::EnumWindows(FindVisibleText, lp);
        return search.found != nullptr;
    };
    WaitUntil(find, timeoutMs);
    return search.found;
}

// "Next", "Install", "Uninstall", "Finish" and "Close" are the wizard's IDOK.
void Next(HWND wizard) { ::PostMessageW(::GetDlgItem(wizard, IDOK), BM_CLICK, 0, 0); }

CUniqueKernelHandle ProcessOf(HWND window, DWORD access)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    return CUniqueKernelHandle(::OpenProcess(access, FALSE, processId));
}

std::wstring ImagePath(HWND window)
{
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    ::QueryFullProcessImageNameW(ProcessOf(window, PROCESS_QUERY_LIMITED_INFORMATION).Get(), 0, path, &size);
    return path;
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
        for (const wchar_t* caption : {L"Kavrin Setup", L"Kavrin Uninstall"})
        {
            if (const HWND wizard = WaitForWindow(nullptr, caption, 0))
                ::TerminateProcess(ProcessOf(wizard, PROCESS_TERMINATE).Get(), 1);
        }
        if (Installed())
            Uninstall(L"QuietUninstallString");
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
    // Starts the command line of the uninstall entry's value `name`. The
    // uninstaller runs on from a copy of itself; a silent one is awaited.
    static void Uninstall(const wchar_t* name)
    {
        const std::wstring command = UninstallValue(name);
        const std::size_t quote = command.find(L'"', 1);
        ASSERT_TRUE(command.starts_with(L'"') && quote != std::wstring::npos) << testing::PrintToString(command);
        CProcessRunner uninstaller;
        ASSERT_TRUE(uninstaller.StartPath(command.substr(1, quote - 1), command.substr(quote + 1)));
        if (command.ends_with(L" /S"))
        {
            ASSERT_TRUE(WaitUntil([] { return !Installed(); }));
        }
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

    CFileVersionInfo program;
    CFileVersionInfo setup;
    ASSERT_TRUE(program.ReadFromFile(folder + L"Kavrin.exe"));
    ASSERT_TRUE(setup.ReadFromFile(TestProgramFolder() + L"KavrinSetup.exe")) << "the setup's own version resource";
    EXPECT_EQ(setup.GetFileVersion(), program.GetFileVersion());
    const std::wstring uninstaller = L"\"" + folder + L"Uninstall.exe\"";
    const std::pair<const wchar_t*, std::wstring> entry[] = {
        {L"DisplayName", program.GetProductName()},
        {L"DisplayVersion", UnsignedVersionText(program.GetFileVersion())},
        {L"Publisher", program.GetString(CFileVersionInfo::Key::CompanyName)},
        {L"DisplayIcon", folder + L"Kavrin.exe,0"},
        {L"InstallLocation", InstallFolder()},
        {L"UninstallString", uninstaller},
        {L"QuietUninstallString", uninstaller + L" /S"},
    };
    for (const auto& [name, value] : entry)
        EXPECT_EQ(UninstallValue(name), value) << testing::PrintToString(name);
    DWORD sizeKb = 0;
    DWORD bytes = sizeof sizeKb;
    ::RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize", RRF_RT_REG_DWORD, nullptr, &sizeKb, &bytes);
    EXPECT_GT(sizeKb, 100u) << "the size of the programs, in KB";
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

    Uninstall(L"QuietUninstallString");
    for (const std::wstring& path : {ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Halvanworks", MenuFolder(),
                                     StartupLink(CSIDL_STARTUP), StartupLink(CSIDL_COMMON_STARTUP)})
        EXPECT_FALSE(Exists(path)) << testing::PrintToString(path);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Settings::kKeyPath)) << "the user's settings stay";
}

TEST_F(InstallerTest, UninstallerRemovesTheSettingsOnlyWhenItsBoxIsTicked)
{
    for (const bool tick : {false, true})
    {
        SCOPED_TRACE(tick ? "box ticked" : "box left alone");
        SeedSettings(false);
        Install();
        Uninstall(L"UninstallString");
        const HWND wizard = WaitForWindow(nullptr, L"Kavrin Uninstall");
        ASSERT_TRUE(wizard);
        Next(wizard);
        const HWND box = WaitForWindow(wizard, L"&Remove my Kavrin settings as well");
        ASSERT_TRUE(box);
        EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        if (tick)
            ::SendMessageW(box, BM_CLICK, 0, 0);
        Next(wizard);
        ASSERT_TRUE(WaitUntil([] { return !Installed(); }));
        EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, Settings::kKeyPath), !tick);
        Next(wizard);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(wizard); }));
    }
}

// Kavrin (its local-site build) finds the newer release, "Update Kavrin
// Now" downloads the setup and starts it, and Kavrin ends; the setup then
// installs.
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
    EXPECT_NE(ItemText(dialog, IDC_UPDATE_MESSAGE).find(L"Version " KAVRIN_TEST_NEWER_VERSION L" is available, created on "),
              std::wstring::npos);
    ASSERT_TRUE(::IsWindowVisible(::GetDlgItem(dialog, IDC_UPDATE_NOW))) << "mode 1";
    ::PostMessageW(::GetDlgItem(dialog, IDC_UPDATE_NOW), BM_CLICK, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(kavrin.WaitForExit(60000, exitCode));
    EXPECT_EQ(exitCode, 0u);

    const HWND wizard = WaitForWindow(nullptr, L"Kavrin Setup");
    ASSERT_TRUE(wizard);
    const std::wstring downloaded = DownloadsFolder() + L"\\Halvanworks\\KavrinSetup.exe";
    EXPECT_EQ(::_wcsicmp(ImagePath(wizard).c_str(), downloaded.c_str()), 0) << testing::PrintToString(ImagePath(wizard));
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
