// The real ResetKavrinStart.exe under Wine: its message, what OK writes, its formats.
#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "common/SyncDate_win.h"
#include "framework/Handles_win.h"
#include "framework/WinApp_win.h"
#include "reset/MessageStyles.h"
#include "reset/ResetKavrinStartDlg_win.h"
#include "reset/ResetKavrinStartRes.h"
#include "reset/ResetMessage.h"
#include "tests/support/win/ProcessRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <optional>
#include <vector>

namespace
{
using namespace Settings::Names;
constexpr DWORD kTimeoutMs = 20000;

// Each value's type and data under the settings key; nothing when there is no key.
using RawValues = std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>>;
std::optional<RawValues> ReadKey()
{
    CUniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, Settings::kKeyPath, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return std::nullopt;
    RawValues values;
    wchar_t name[256];
    BYTE data[1024];
    for (DWORD i = 0, length = 256, type = 0, size = 1024;
         ::RegEnumValueW(key.Get(), i, name, &length, nullptr, &type, data, &size) == ERROR_SUCCESS;
         ++i, length = 256, size = 1024)
        values[name] = {type, {data, data + size}};
    return values;
}

// Seeded as REG_DWORD, which the programs never write: a rewritten value shows up as REG_BINARY.
void SeedNumbers(const ResetSettings& stored)
{
    for (const auto& [name, value] : {std::pair{SyncOncePerDay, DWORD{stored.SyncOncePerDay}},
                                      {ExitAfterSync, DWORD{stored.ExitAfterSync}}, {TimeToExit, stored.TimeToExit}})
        ::RegSetKeyValueW(HKEY_CURRENT_USER, Settings::kKeyPath, name, REG_DWORD, &value, sizeof value);
}

// Sends `msg` with a sized, empty T in the window's process, answering the T as left.
template <typename T>
T SendRemote(HWND window, UINT msg, WPARAM wp)
{
    T data{};
    data.cbSize = sizeof data;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    const CUniqueKernelHandle process(
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    void* address = ::VirtualAllocEx(process.Get(), nullptr, sizeof data, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ::WriteProcessMemory(process.Get(), address, &data, sizeof data, nullptr);
    ::SendMessageW(window, msg, wp, reinterpret_cast<LPARAM>(address));
    ::ReadProcessMemory(process.Get(), address, &data, sizeof data, nullptr);
    ::VirtualFreeEx(process.Get(), address, 0, MEM_RELEASE);
    return data;
}

// The real program's resources, so that its dialog runs in this process
// (Wine does not answer WM_GETICON or WM_QUERYDRAGICON across processes).
struct CResetProgramResources : CWinApp
{
    CUniqueModule m_module{
        ::LoadLibraryExW((TestProgramFolder() + L"ResetKavrinStart.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)};
    CResetProgramResources() : CWinApp(L"ResetKavrinStart") { m_hInstance = m_module.Get(); }
};

class ResetKavrinStartTest : public testing::Test
{
protected:
    void SetUp() override { DeleteKey(); }
    void TearDown() override
    {
        if (m_bRunning)
            m_program.Close(m_dialog, 5000);
        DeleteKey();
    }
    static void DeleteKey() { ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath); }

    std::wstring Start() // the message in the program's dialog
    {
        m_bRunning = m_program.Start(L"ResetKavrinStart.exe", L"");
        m_dialog = m_bRunning ? m_program.WaitForWindow(L"Reset Kavrin", kTimeoutMs) : nullptr;
        wchar_t text[1024] = L"(no dialog)";
        ::SendMessageW(Box(), WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
        return text;
    }
    HWND Box() const { return ::GetDlgItem(m_dialog, IDC_RESET_MESSAGE); }

    bool Click(int button) // whether the program then ended
    {
        ::PostMessageW(::GetDlgItem(m_dialog, button), BM_CLICK, 0, 0);
        DWORD exitCode = 0;
        return !(m_bRunning = !m_program.WaitForExit(kTimeoutMs, exitCode));
    }

    CProcessRunner m_program;
    bool m_bRunning = false;
    HWND m_dialog = nullptr;
};
} // namespace

TEST_F(ResetKavrinStartTest, OkSwitchesOffExactlyWhatTheMessageAnnouncesAndCreatesNoKey)
{
    const std::tuple<const char*, std::optional<ResetSettings>, int, std::vector<const wchar_t*>> cases[] = {
        {"once a day", ResetSettings{true, 60000, true}, IDOK, {SyncOncePerDay}},
        {"short exit", ResetSettings{false, 5000, true}, IDOK, {ExitAfterSync}},
        {"exit after exactly 10 s", ResetSettings{false, 10000, true}, IDOK, {}},
        {"both", ResetSettings{true, 5000, true}, IDOK, {SyncOncePerDay, ExitAfterSync}},
        {"both, cancelled", ResetSettings{true, 5000, true}, IDCANCEL, {}},
        {"no key", std::nullopt, IDOK, {}},
    };
    for (const auto& [what, stored, button, written] : cases) // stored none: no key at all
    {
        DeleteKey();
        if (stored)
            SeedNumbers(*stored);
        std::optional<RawValues> expected = ReadKey();
        for (const wchar_t* name : written)
            (*expected)[name] = {REG_BINARY, {0, 0, 0, 0}};
        EXPECT_EQ(Start(), Reset::ComposeMessage(stored.value_or(ResetSettings{}))) << what;
        ASSERT_TRUE(Click(button)) << what;
        EXPECT_EQ(ReadKey(), expected) << what << ": the key is created only for a write";
    }
}

TEST_F(ResetKavrinStartTest, AfterOkKavrinShowsItsWindowOnADayItAlreadySynchronised)
{
    CSettingsKey settings;
    ASSERT_TRUE(settings.OpenKey(Settings::kKeyPath, true));
    settings.WriteNumber(SyncOncePerDay, 1);
    settings.WriteNumber(SyncOnStart, 0);
    settings.WriteText(CurrentServer, L"127.0.0.1");
    const std::time_t now = std::time(nullptr);
    settings.WriteDateRecord(LastSyncDate, MakeSyncDateRecord(*std::localtime(&now)));

    Start();
    ASSERT_TRUE(Click(IDOK));
    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.Start(L"Kavrin.exe", L""));
    const HWND window = kavrin.WaitForWindow(L"Kavrin", kTimeoutMs);
    EXPECT_NE(window, nullptr);
    kavrin.Close(window);
}

TEST_F(ResetKavrinStartTest, BoxCarriesThePlannedFormatsCentred)
{
    SeedNumbers({true, 5000, true});
    const std::wstring text = Reset::AsBoxText(Start());
    ASSERT_NE(m_dialog, nullptr);

    std::vector<Reset::TextStyle> planned(text.size());
    for (const Reset::StyledRange& range : Reset::PlanMessageStyles(text))
        std::fill(planned.begin() + range.start, planned.begin() + range.end, range.style);

    std::size_t differing = 0;
    for (; differing < text.size(); ++differing)
    {
        ::SendMessageW(Box(), EM_SETSEL, differing, differing + 1);
        const CHARFORMAT2W f = SendRemote<CHARFORMAT2W>(Box(), EM_GETCHARFORMAT, SCF_SELECTION);
        const COLORREF c = f.crTextColor;
        if (!(Reset::TextStyle{{GetRValue(c), GetGValue(c), GetBValue(c)}, (f.dwEffects & CFE_BOLD) != 0,
                               (f.dwEffects & CFE_ITALIC) != 0} == planned[differing]))
            break;
    }
    EXPECT_EQ(differing, text.size()) << "first character off the plan: " << testing::PrintToString(text);
    EXPECT_EQ(SendRemote<PARAFORMAT2>(Box(), EM_GETPARAFORMAT, 0).wAlignment, PFA_CENTER);
}

TEST(ResetKavrinStartDlg, CarriesAndDragsTheProgramIcon)
{
    const CUniqueModule richEdit(::LoadLibraryW(L"Riched20.dll"));
    const CResetProgramResources resources;
    ASSERT_NE(resources.m_hInstance, nullptr);
    CResetKavrinStartDlg dialog;
    ASSERT_TRUE(dialog.Create());

    const LRESULT big = dialog.SendMessage(WM_GETICON, ICON_BIG);
    EXPECT_NE(big, 0);
    EXPECT_NE(dialog.SendMessage(WM_GETICON, ICON_SMALL), big) << "a small icon of its own";
    EXPECT_EQ(dialog.SendMessage(WM_QUERYDRAGICON), big);
}
