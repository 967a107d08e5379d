// The main window's commands and the ways it ends, driven by messages
// against Wine's registry; the Enter key in the real program.

#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "mainwnd/KavrinDlg_win.h"
#include "resources/resource.h"
#include "sntp/SntpSocket.h"
#include "tests/support/win/ModalDriver.h"
#include "tests/support/win/ProcessRunner.h"
#include "tools/TestPeers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace
{
// How a dialog that opens over the main window is answered; `index`
// counts the dialogs that one test has seen.
using Answer = std::function<void(HWND dialog, size_t index)>;

void Close(HWND dialog, size_t)
{
    ::PostMessageW(dialog, WM_CLOSE, 0, 0);
}

Answer ChooseServer(const wchar_t* server)
{
    return [server](HWND dialog, size_t) {
        ::SetDlgItemTextW(dialog, IDC_POOL_SERVER, server);
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    };
}

// Records the caption of each dialog or message box of this thread that
// opens over `main`, then answers it.
class CDialogAnswerer
{
public:
    CDialogAnswerer(HWND main, Answer answer) : m_hMain(main), m_answer(std::move(answer)), m_driver([this] {
        std::erase_if(m_answered, [](HWND hwnd) { return !::IsWindow(hwnd); });
        ::EnumThreadWindows(::GetCurrentThreadId(), &CDialogAnswerer::Visit, reinterpret_cast<LPARAM>(this));
        return false;
    })
    {
    }
    std::vector<std::wstring> captions;

private:
    static BOOL CALLBACK Visit(HWND hwnd, LPARAM self)
    {
        reinterpret_cast<CDialogAnswerer*>(self)->AnswerWindow(hwnd);
        return TRUE;
    }
    void AnswerWindow(HWND hwnd)
    {
        wchar_t text[128] = {};
        ::GetClassNameW(hwnd, text, 128);
        if (hwnd == m_hMain || !::IsWindowVisible(hwnd) || std::wstring(text) != L"#32770" ||
            std::find(m_answered.begin(), m_answered.end(), hwnd) != m_answered.end())
            return;
        m_answered.push_back(hwnd);
        ::GetWindowTextW(hwnd, text, 128);
        captions.push_back(text);
        (m_answer ? m_answer : Answer(Close))(hwnd, captions.size() - 1);
    }

    HWND m_hMain;
    Answer m_answer;
    std::vector<HWND> m_answered;
    CModalDriver m_driver;
};

// One user action: a button or tray command (WM_COMMAND), a system-menu
// item (WM_SYSCOMMAND) or a key (WM_KEYDOWN).
struct Step
{
    UINT message;
    UINT id;
};
constexpr UINT Cmd = WM_COMMAND, Sys = WM_SYSCOMMAND, Key = WM_KEYDOWN;

class KavrinCommandsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ::LoadLibraryW(L"Riched20.dll");
        Reset();
    }
    void TearDown() override { Reset(); }
    // Settings that start no synchronisation, and no Startup shortcut.
    static void Reset()
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
        CSettingsKey store;
        StoreNumber(store, Settings::Names::SyncOnStart, 0);
        store.WriteText(Settings::Names::CurrentServer, TestPeers::kNothingListening);
        CStartupShortcut shortcut;
        if (shortcut.FindStartupShortcut())
            ::DeleteFileW(shortcut.GetShortcutPath().c_str());
    }

    // Opens `window`, takes the steps with `answer` for the dialogs they
    // open, and answers the captions of the dialogs seen.
    static std::wstring Run(CKavrinDlg& window, const std::vector<Step>& steps, const Answer& answer = nullptr)
    {
        EXPECT_TRUE(window.Create(nullptr));
        window.ShowWindow(SW_SHOWNORMAL);
        CDialogAnswerer answerer(window.GetSafeHwnd(), answer);
        for (const Step& step : steps)
            Take(window, step);
        std::wstring seen;
        for (const std::wstring& caption : answerer.captions)
            seen += caption + L";";
        return seen;
    }
    static void Take(CKavrinDlg& window, Step step)
    {
        const HWND control = window.GetDlgItem(static_cast<int>(step.id));
        const HWND list = window.GetDlgItem(IDC_RESULTS);
        if (step.message == Key)
            ::SetFocus(list), ::PostMessageW(list, Key, step.id, 0);
        else if (step.message == Cmd && control)
            ::SendMessageW(control, BM_CLICK, 0, 0);
        else
            ::SendMessageW(window.GetSafeHwnd(), step.message, step.message == Cmd ? MAKEWPARAM(step.id, 0) : step.id, 0);
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (!::IsDialogMessageW(window.GetSafeHwnd(), &msg))
                ::DispatchMessageW(&msg);
        }
    }

    // The window's server line, options line, checked items and sound box.
    static std::wstring State(const CKavrinDlg& window)
    {
        wchar_t text[512] = {};
        ::GetDlgItemTextW(window.GetSafeHwnd(), IDC_HEADER, text, 512);
        std::wstring state = std::wstring(text).substr(std::wstring(text).rfind(L'\n') + 1) + L"|";
        ::GetDlgItemTextW(window.GetSafeHwnd(), IDC_PROGRAM_CONFIG, text, 512);
        state += std::wstring(text) + L"|";
        for (const UINT item : {IDM_AUTO_CHECK_UPDATE, IDM_START_WITH_WINDOWS, IDM_SYNC_ON_STARTUP,
                                IDM_MINIMIZE_AFTER_SYNC, IDM_ONCE_PER_DAY})
        {
            if (::GetMenuState(::GetSystemMenu(window.GetSafeHwnd(), FALSE), item, MF_BYCOMMAND) & MF_CHECKED)
                state += std::to_wstring(item) + L" ";
        }
        return state + (window.GetSettings().UseSound ? L"|sound" : L"|") + (window.IsEnded() ? L"|ended" : L"");
    }

    // The saved group as the registry holds it (9 or "-" for a missing
    // value), then SyncOncePerDay.
    static std::wstring Stored()
    {
        using namespace Settings::Names;
        CSettingsKey store;
        store.OpenKey(Settings::kKeyPath, false);
        std::wstring text;
        for (const wchar_t* name : {SyncOnStart, UseSound, CheckForUpdate, MinimizeOnSync})
            text += std::to_wstring(store.ReadNumber(name, 9)) + L",";
        return text + store.ReadText(CurrentServer, L"-") + L" " + std::to_wstring(store.ReadNumber(SyncOncePerDay, 9));
    }

    CSocketLayer m_sockets;
};

constexpr wchar_t kChooser[] = L"NTP Pool Project Regional Servers;";
constexpr wchar_t kAbout[] = L"About Kavrin;";
} // namespace

TEST_F(KavrinCommandsTest, EachCommandReachesItsOwnHandler)
{
    const struct
    {
        Step step;
        Answer answer;
        std::wstring seen;
        std::wstring state;
    } cases[] = {
        {{Cmd, IDC_CHANGE_POOL}, ChooseServer(L"0.de.pool.ntp.org"), kChooser, L"0.de.pool.ntp.org - Unspecified|||"},
        {{Sys, IDM_SELECT_POOL_SERVER}, ChooseServer(L"de.pool.ntp.org"), kChooser, L"de.pool.ntp.org - Germany|||"},
        {{Cmd, ID_TRAY_SHOW_SERVER_LIST}, ChooseServer(L"pool.ntp.org"), kChooser, L"pool.ntp.org - Worldwide|||"},
        {{Cmd, ID_HELP}, nullptr, L"Kavrin Help;", L"127.0.0.40 - Unspecified|||"},
        {{Sys, IDM_ABOUTBOX}, nullptr, kAbout, L"127.0.0.40 - Unspecified|||"},
        {{Cmd, ID_APP_ABOUT}, nullptr, kAbout, L"127.0.0.40 - Unspecified|||"},
        {{Cmd, IDC_USE_SOUND}, nullptr, L"", L"127.0.0.40 - Unspecified|||sound"},
        {{Sys, IDM_START_WITH_WINDOWS}, nullptr, L"", L"127.0.0.40 - Unspecified|Start with Windows, |22 |"},
        {{Sys, IDM_SYNC_ON_STARTUP}, nullptr, L"", L"127.0.0.40 - Unspecified|Sync on Start, |23 |"},
        {{Sys, IDM_MINIMIZE_AFTER_SYNC}, nullptr, L"", L"127.0.0.40 - Unspecified|Minimize after Sync|24 |"},
        {{Sys, IDM_ONCE_PER_DAY}, nullptr, L"", L"127.0.0.40 - Unspecified||114 |"},
        {{Cmd, ID_APP_EXIT}, nullptr, L"", L"127.0.0.40 - Unspecified||||ended"},
        // Commands of the tray menu wait while the chooser is open.
        {{Cmd, IDC_CHANGE_POOL},
         [](HWND chooser, size_t) {
             for (const UINT command : {ID_TRAY_SHOW_SERVER_LIST, ID_APP_ABOUT, ID_APP_EXIT, ID_TRAY_SYNCHRONIZE_NOW})
                 ::PostMessageW(::GetWindow(chooser, GW_OWNER), WM_COMMAND, command, 0);
             ::PostMessageW(chooser, WM_CLOSE, 0, 0);
         },
         kChooser, L"127.0.0.40 - Unspecified|||"},
    };
    for (const auto& c : cases)
    {
        Reset();
        CKavrinDlg window;
        EXPECT_EQ(Run(window, {c.step}, c.answer), c.seen) << c.step.id;
        EXPECT_EQ(State(window), c.state) << c.step.id;
    }
}

TEST_F(KavrinCommandsTest, OnlyExitKavrinSavesTheGroupAndOnlyWhenAnOptionChanged)
{
    const std::wstring untouched = L"0,9,9,9,127.0.0.40 9";
    const struct
    {
        const char* what;
        std::vector<Step> steps;
        Answer answer;
        INT_PTR result;
        std::wstring stored;
    } cases[] = {
        {"23, Exit Kavrin", {{Sys, IDM_SYNC_ON_STARTUP}, {Cmd, IDOK}}, nullptr, IDOK, L"1,0,0,0,127.0.0.40 9"},
        {"23, Enter", {{Sys, IDM_SYNC_ON_STARTUP}, {Key, VK_RETURN}}, nullptr, IDOK, L"1,0,0,0,127.0.0.40 9"},
        {"23, tray exit", {{Sys, IDM_SYNC_ON_STARTUP}, {Cmd, ID_APP_EXIT}}, nullptr, 0, untouched},
        {"23, close box", {{Sys, IDM_SYNC_ON_STARTUP}, {Sys, SC_CLOSE}}, nullptr, IDCANCEL, untouched},
        {"23, Escape", {{Sys, IDM_SYNC_ON_STARTUP}, {Key, VK_ESCAPE}}, nullptr, IDCANCEL, untouched},
        {"sound box alone", {{Cmd, IDC_USE_SOUND}, {Cmd, IDOK}}, nullptr, IDOK, untouched},
        {"sound box and 24", {{Cmd, IDC_USE_SOUND}, {Sys, IDM_MINIMIZE_AFTER_SYNC}, {Cmd, IDOK}}, nullptr, IDOK,
         L"0,1,0,1,127.0.0.40 9"},
        {"114, tray exit", {{Sys, IDM_ONCE_PER_DAY}, {Cmd, ID_APP_EXIT}}, nullptr, 0, L"0,9,9,9,127.0.0.40 1"},
        {"server chosen, the second chooser closed",
         {{Cmd, IDC_CHANGE_POOL}, {Sys, IDM_SELECT_POOL_SERVER}, {Cmd, IDOK}},
         [](HWND dialog, size_t index) { (index == 0 ? ChooseServer(L"time.example") : Answer(Close))(dialog, index); },
         IDOK, L"0,0,0,0,time.example 9"},
    };
    for (const auto& c : cases)
    {
        Reset();
        {
            CKavrinDlg window;
            Run(window, c.steps, c.answer);
            EXPECT_EQ(window.GetResult(), c.result) << c.what;
            EXPECT_EQ(Stored(), c.stored) << c.what;
        }
        // Where the toggle was dropped, the next start shows the old state.
        if (c.stored[0] == L'0')
        {
            CKavrinDlg next;
            Run(next, {});
            EXPECT_FALSE(::GetMenuState(::GetSystemMenu(next.GetSafeHwnd(), FALSE), IDM_SYNC_ON_STARTUP, MF_BYCOMMAND) &
                         MF_CHECKED)
                << c.what;
        }
    }
}

TEST_F(KavrinCommandsTest, EnterEndsTheProgramAfterSavingTheGroup)
{
    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.Start(L"Kavrin.exe", L""));
    const HWND window = kavrin.WaitForWindow(L"Kavrin", 20000);
    ASSERT_NE(window, nullptr);
    ::SendMessageW(window, WM_SYSCOMMAND, IDM_MINIMIZE_AFTER_SYNC, 0);
    ::PostMessageW(::GetDlgItem(window, IDC_RESULTS), WM_KEYDOWN, VK_RETURN, 0);
    DWORD exitCode = 99;
    EXPECT_TRUE(kavrin.WaitForExit(10000, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(Stored(), L"0,0,0,1,127.0.0.40 9");
}
