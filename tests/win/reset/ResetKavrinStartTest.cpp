// The real ResetKavrinStart.exe under Wine: the message it shows, the
// values its OK writes, and the formats in its rich-edit box.

#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "common/SyncDate_win.h"
#include "framework/Handles_win.h"
#include "framework/RichEditCtrl_win.h"
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
#include <string>
#include <utility>
#include <vector>

namespace
{
using namespace Settings::Names;
constexpr DWORD kTimeoutMs = 20000;

// Each value's type and data.
using RawValues = std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>>;

// Every value under the settings key as stored; nothing when there is no key.
std::optional<RawValues> ReadKey()
{
    CUniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, Settings::kKeyPath, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return std::nullopt;
    RawValues values;
    for (DWORD i = 0;; ++i)
    {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        DWORD type = REG_NONE;
        std::vector<BYTE> data(1024);
        DWORD size = static_cast<DWORD>(data.size());
        if (::RegEnumValueW(key.Get(), i, name, &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            return values;
        data.resize(size);
        values[name] = {type, data};
    }
}

// Numbers are seeded as REG_DWORD, which the programs read but never write:
// a value that the program rewrote shows up as REG_BINARY.
void SeedNumber(const wchar_t* name, DWORD value)
{
    ::RegSetKeyValueW(HKEY_CURRENT_USER, Settings::kKeyPath, name, REG_DWORD, &value, sizeof value);
}

// Memory in another process, for messages whose pointers the system does
// not carry across processes.
class CRemoteMemory
{
public:
    CRemoteMemory(HWND window, SIZE_T size)
    {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        m_process.Reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
        if (m_process)
            m_address = ::VirtualAllocEx(m_process.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~CRemoteMemory()
    {
        if (m_address)
            ::VirtualFreeEx(m_process.Get(), m_address, 0, MEM_RELEASE);
    }
    CRemoteMemory(const CRemoteMemory&) = delete;
    CRemoteMemory& operator=(const CRemoteMemory&) = delete;

    // Sends `msg` with `data` copied into the process, and answers the data
    // as the window left it.
    template <typename T>
    T Send(HWND window, UINT msg, WPARAM wp, T data) const
    {
        ::WriteProcessMemory(m_process.Get(), m_address, &data, sizeof data, nullptr);
        ::SendMessageW(window, msg, wp, reinterpret_cast<LPARAM>(m_address));
        ::ReadProcessMemory(m_process.Get(), m_address, &data, sizeof data, nullptr);
        return data;
    }

private:
    CUniqueKernelHandle m_process;
    void* m_address = nullptr;
};

Reset::TextStyle StyleOf(const CHARFORMAT2W& format)
{
    const COLORREF color = format.crTextColor;
    return {{GetRValue(color), GetGValue(color), GetBValue(color)},
            (format.dwEffects & CFE_BOLD) != 0,
            (format.dwEffects & CFE_ITALIC) != 0};
}

// An application whose resources are the real program's, so that the
// dialog can run in this process on its own template and icon (Wine does
// not answer WM_GETICON or WM_QUERYDRAGICON across processes).
class CResetProgramResources : public CWinApp
{
public:
    CResetProgramResources() : CWinApp(L"ResetKavrinStart")
    {
        m_module.Reset(::LoadLibraryExW((TestProgramFolder() + L"ResetKavrinStart.exe").c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE));
        m_hInstance = m_module.Get();
    }

private:
    CUniqueModule m_module;
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

    // Starts the program and answers the message in its dialog.
    std::wstring Start()
    {
        m_bRunning = m_program.Start(L"ResetKavrinStart.exe", L"");
        m_dialog = m_bRunning ? m_program.WaitForWindow(L"Reset Kavrin", kTimeoutMs) : nullptr;
        if (!m_dialog)
            return L"(no dialog)";
        wchar_t text[1024] = {};
        ::SendMessageW(Box(), WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
        return text;
    }

    HWND Box() const { return ::GetDlgItem(m_dialog, IDC_RESET_MESSAGE); }

    // Clicks OK or Cancel; answers whether the program then ended.
    bool Click(int button)
    {
        ::PostMessageW(::GetDlgItem(m_dialog, button), BM_CLICK, 0, 0);
        DWORD exitCode = 0;
        m_bRunning = !m_program.WaitForExit(kTimeoutMs, exitCode);
        return !m_bRunning;
    }

    CProcessRunner m_program;
    bool m_bRunning = false;
    HWND m_dialog = nullptr;
};
} // namespace

TEST_F(ResetKavrinStartTest, OkSwitchesOffExactlyWhatTheMessageAnnouncesAndCreatesNoKey)
{
    const struct
    {
        const char* what;
        std::optional<ResetSettings> stored; // none: no key at all
        int button;
        std::vector<const wchar_t*> written;
    } cases[] = {
        {"once a day", ResetSettings{true, 60000, true}, IDOK, {SyncOncePerDay}},
        {"short exit", ResetSettings{false, 5000, true}, IDOK, {ExitAfterSync}},
        {"exit after exactly 10 s", ResetSettings{false, 10000, true}, IDOK, {}},
        {"both", ResetSettings{true, 5000, true}, IDOK, {SyncOncePerDay, ExitAfterSync}},
        {"both, cancelled", ResetSettings{true, 5000, true}, IDCANCEL, {}},
        {"no key", std::nullopt, IDOK, {}},
    };
    for (const auto& c : cases)
    {
        DeleteKey();
        if (c.stored)
        {
            SeedNumber(SyncOncePerDay, c.stored->SyncOncePerDay);
            SeedNumber(ExitAfterSync, c.stored->ExitAfterSync);
            SeedNumber(TimeToExit, c.stored->TimeToExit);
        }
        std::optional<RawValues> expected = ReadKey();
        for (const wchar_t* name : c.written)
            (*expected)[name] = {REG_BINARY, {0, 0, 0, 0}};

        EXPECT_EQ(Start(), Reset::ComposeMessage(c.stored.value_or(ResetSettings{}))) << c.what;
        ASSERT_TRUE(Click(c.button)) << c.what;
        EXPECT_EQ(ReadKey(), expected) << c.what << ": the key is created only for a write";
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
    std::tm today{};
    localtime_s(&today, &now);
    settings.WriteDateRecord(LastSyncDate, MakeSyncDateRecord(today));

    Start();
    ASSERT_TRUE(Click(IDOK));
    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.Start(L"Kavrin.exe", L""));
    const HWND window = kavrin.WaitForWindow(L"Kavrin", kTimeoutMs);
    kavrin.Close(window);
    EXPECT_NE(window, nullptr);
}

TEST_F(ResetKavrinStartTest, BoxCarriesThePlannedFormatsCentred)
{
    SeedNumber(SyncOncePerDay, 1);
    SeedNumber(ExitAfterSync, 1);
    SeedNumber(TimeToExit, 5000);
    const std::wstring text = Reset::AsBoxText(Start());
    ASSERT_NE(m_dialog, nullptr);

    std::vector<Reset::TextStyle> planned(text.size());
    for (const Reset::StyledRange& range : Reset::PlanMessageStyles(text))
        std::fill(planned.begin() + range.start, planned.begin() + range.end, range.style);

    const CRemoteMemory remote(Box(), sizeof(CHARFORMAT2W) + sizeof(PARAFORMAT2));
    std::size_t differing = 0;
    for (; differing < text.size(); ++differing)
    {
        ::SendMessageW(Box(), EM_SETSEL, differing, differing + 1);
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        format = remote.Send(Box(), EM_GETCHARFORMAT, SCF_SELECTION, format);
        if (!(StyleOf(format) == planned[differing]))
            break;
    }
    EXPECT_EQ(differing, text.size()) << "first character off the plan: " << testing::PrintToString(text)
                                      << " at " << differing;

    PARAFORMAT2 paragraph{};
    paragraph.cbSize = sizeof paragraph;
    paragraph = remote.Send(Box(), EM_GETPARAFORMAT, 0, paragraph);
    EXPECT_EQ(paragraph.wAlignment, PFA_CENTER);
}

TEST(ResetKavrinStartDlg, CarriesAndDragsTheProgramIcon)
{
    const CUniqueModule richEdit(::LoadLibraryW(L"Riched20.dll"));
    const CResetProgramResources resources;
    ASSERT_NE(resources.m_hInstance, nullptr);
    CResetKavrinStartDlg dialog;
    ASSERT_TRUE(dialog.Create());

    const LRESULT big = dialog.SendMessage(WM_GETICON, ICON_BIG);
    const LRESULT small = dialog.SendMessage(WM_GETICON, ICON_SMALL);
    EXPECT_NE(big, 0);
    EXPECT_NE(small, 0);
    EXPECT_NE(small, big) << "a small icon of its own";
    EXPECT_EQ(dialog.SendMessage(WM_QUERYDRAGICON), big);
}

// The plan's whole-word rule against the box's own FR_WHOLEWORD search.
TEST(ResetWholeWords, PlanFindsWhatTheBoxFinds)
{
    const CUniqueModule richEdit(::LoadLibraryW(L"Riched20.dll"));
    const CUniqueWindow window(::CreateWindowExW(0, L"RichEdit20W", L"", WS_POPUP | ES_MULTILINE, 0, 0, 300, 200,
                                                 nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);
    CRichEditCtrl box;
    box.Attach(window.Get());

    const std::wstring texts[] = {
        Reset::ComposeMessage({true, 5000, true}),
        Reset::ComposeMessage({}),
        L"KavrinKavrin Kavrin xKavrin Kavrin1 Kavrin_ (Kavrin) Kavrin's",
        L"\u00e9Kavrin \u201cKavrin\u201d Kavrin\u00e9 \u00d7Kavrin\r\nBOOK OKAY OK",
    };
    const std::wstring words[] = {Reset::kProgramName, Reset::kOkButton, SyncOncePerDay, Reset::kExitOption};
    constexpr DWORD kFlags = FR_MATCHCASE | FR_WHOLEWORD;
    for (const std::wstring& text : texts)
    {
        box.SetText(text);
        for (const std::wstring& word : words)
        {
            std::vector<std::size_t> found;
            for (int at = box.FindText(word, 0, kFlags); at >= 0; at = box.FindText(word, at + 1, kFlags))
                found.push_back(static_cast<std::size_t>(at));
            EXPECT_EQ(Reset::FindEveryWholeWord(Reset::AsBoxText(text), word), found)
                << testing::PrintToString(word) << " in " << testing::PrintToString(text);
        }
    }
}
