// The real ResetKavrinStart.exe under Wine: its message and what OK writes; its dialog in this process.
#include "framework/WinApp_win.h"
#include "reset/MessageStyles.h"
#include "reset/ResetKavrinStartDlg_win.h"
#include "reset/ResetKavrinStartRes.h"
#include "reset/ResetMessage.h"
#include "tests/support/win/KavrinKey.h"
#include "tests/support/win/ProcessRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace
{
using namespace Settings::Names;
constexpr DWORD kTimeoutMs = 20000;

// Seeded as REG_DWORD, which the programs never write: a rewritten value shows up as REG_BINARY.
void SeedNumbers(const ResetSettings& stored)
{
    for (const auto& [name, value] : {std::pair{SyncOncePerDay, DWORD{stored.SyncOncePerDay}},
                                      {ExitAfterSync, DWORD{stored.ExitAfterSync}}, {TimeToExit, stored.TimeToExit}})
        ::RegSetKeyValueW(HKEY_CURRENT_USER, Settings::kKeyPath, name, REG_DWORD, &value, sizeof value);
}

// The real program's resources for its dialog in this process: Wine answers neither
// WM_GETICON, WM_QUERYDRAGICON nor a rich edit's formats across processes.
struct CResetProgramResources : CWinApp
{
    CUniqueModule m_module{
        ::LoadLibraryExW((TestProgramFolder() + L"ResetKavrinStart.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)};
    CResetProgramResources() : CWinApp(L"ResetKavrinStart") { AfxSetInstanceHandle(m_hInstance = m_module.Get()); }
    ~CResetProgramResources() override { AfxSetInstanceHandle(nullptr); }
};

class ResetKavrinStartTest : public KavrinKeyTest
{
protected:
    void TearDown() override
    {
        if (m_bRunning)
            m_program.Close(m_dialog, 5000);
        KavrinKeyTest::TearDown();
    }

    std::wstring Start() // the message in the program's dialog
    {
        m_bRunning = m_program.Start(L"ResetKavrinStart.exe", L"");
        m_dialog = m_bRunning ? m_program.WaitForWindow(L"Reset Kavrin", kTimeoutMs) : nullptr;
        wchar_t text[1024] = L"(no dialog)";
        ::SendDlgItemMessageW(m_dialog, IDC_RESET_MESSAGE, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
        return text;
    }

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
        DeleteKavrinKey();
        if (stored)
            SeedNumbers(*stored);
        std::optional<RawValues> expected = ReadRawKey(Settings::kKeyPath);
        for (const wchar_t* name : written)
            (*expected)[name] = {REG_BINARY, {0, 0, 0, 0}};
        EXPECT_EQ(Start(), Reset::ComposeMessage(stored.value_or(ResetSettings{}))) << what;
        ASSERT_TRUE(Click(button)) << what;
        EXPECT_EQ(ReadRawKey(Settings::kKeyPath), expected) << what << ": the key is created only for a write";
    }
}

using ResetKavrinStartDlg = KavrinKeyTest;

TEST_F(ResetKavrinStartDlg, BoxCarriesThePlannedFormatsCentredAndTheDialogTheProgramIcon)
{
    SeedNumbers({true, 5000, true});
    const CUniqueModule richEdit(::LoadLibraryW(L"Riched20.dll"));
    const CResetProgramResources resources;
    CResetKavrinStartDlg dialog;
    ASSERT_TRUE(dialog.Create());
    CRichEditCtrl box;
    box.Attach(dialog.GetSafeHwnd(), IDC_RESET_MESSAGE);
    const std::wstring text = Reset::AsBoxText(box.GetWindowText());
    ASSERT_EQ(text, Reset::AsBoxText(Reset::ComposeMessage({true, 5000, true})));

    std::vector<Reset::TextStyle> planned(text.size());
    for (const Reset::StyledRange& range : Reset::PlanMessageStyles(text))
        std::fill(planned.begin() + range.start, planned.begin() + range.end, range.style);
    std::size_t differing = 0;
    for (; differing < text.size(); ++differing)
    {
        box.SendMessage(EM_SETSEL, differing, differing + 1); // not through the wrapper that the dialog uses
        const CHARFORMAT2W f = box.GetSelectionCharFormat();
        const COLORREF c = f.crTextColor;
        if (!(Reset::TextStyle{{GetRValue(c), GetGValue(c), GetBValue(c)}, (f.dwEffects & CFE_BOLD) != 0,
                               (f.dwEffects & CFE_ITALIC) != 0} == planned[differing]))
            break;
    }
    EXPECT_EQ(differing, text.size()) << "first character off the plan: " << testing::PrintToString(text);
    PARAFORMAT2 paragraph{};
    paragraph.cbSize = sizeof paragraph;
    box.SendMessage(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    EXPECT_EQ(paragraph.wAlignment, PFA_CENTER);

    const LRESULT big = dialog.SendMessage(WM_GETICON, ICON_BIG);
    EXPECT_NE(big, 0);
    EXPECT_NE(dialog.SendMessage(WM_GETICON, ICON_SMALL), big) << "a small icon of its own";
    EXPECT_EQ(dialog.SendMessage(WM_QUERYDRAGICON), big);
}
