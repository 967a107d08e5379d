// The main window's commands and the ways it ends, driven by messages
// against Wine's registry; the Enter key in the real program.

#include "MainWindowTestSupport_win.h"
#include "tests/support/win/ModalDriver.h"

#include <vector>

namespace
{
// How a dialog over the main window is answered; `index` counts the run's dialogs.
using Answer = std::function<void(HWND dialog, int index)>;
const Answer Close = [](HWND dialog, int) { ::PostMessageW(dialog, WM_CLOSE, 0, 0); };
Answer Choose(const wchar_t* server)
{
    return [server](HWND dialog, int) {
        ::SetDlgItemTextW(dialog, IDC_POOL_SERVER, server);
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    };
}

// A button or tray command (WM_COMMAND), a system-menu item or a key in the results list.
struct Step { UINT message; UINT id; };
constexpr UINT Cmd = WM_COMMAND, Sys = WM_SYSCOMMAND, Key = WM_KEYDOWN;

class KavrinCommandsTest : public testing::Test
{
protected:
    void SetUp() override { ::LoadLibraryW(L"Riched20.dll"); }
    void TearDown() override { Reset(); }
    // Settings that start no synchronisation, and no Startup shortcut.
    static void Reset()
    {
        FreshSettings(TestPeers::kNothingListening);
        CStartupShortcut shortcut;
        if (shortcut.FindStartupShortcut())
            ::DeleteFileW(shortcut.GetShortcutPath().c_str());
    }

    // Opens `window` and takes the steps, answering each dialog over it; answers their captions.
    static std::wstring Run(CKavrinDlg& window, const std::vector<Step>& steps, const Answer& answer = Close)
    {
        EXPECT_TRUE(window.Create(nullptr));
        const HWND main = window.GetSafeHwnd();
        const std::wstring idleStatus = Text(main, IDC_STATUS);
        std::wstring seen;
        int count = 0;
        const CModalDriver driver([&] {
            const HWND dialog = ::GetLastActivePopup(main);
            if (dialog != main && ::IsWindowVisible(dialog))
                seen += Text(dialog) + L";", answer(dialog, count++);
            return false;
        });
        for (const Step& step : steps)
        {
            const HWND control = ::GetDlgItem(main, static_cast<int>(step.id));
            if (step.message == Key)
                ::SetFocus(::GetDlgItem(main, IDC_RESULTS)), ::PostMessageW(::GetFocus(), Key, step.id, 0);
            else if (step.message == Cmd && control)
                ::SendMessageW(control, BM_CLICK, 0, 0);
            else
                ::SendMessageW(main, step.message, step.id, 0);
            for (MSG msg{}; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
                ::IsDialogMessageW(main, &msg) || ::DispatchMessageW(&msg);
        }
        const bool synchronised = window.IsSyncRunning() || Text(main, IDC_STATUS) != idleStatus;
        return synchronised ? seen + L"synchronised;" : seen;
    }

    // The saved group (9 or "-" for a missing value), then SyncOncePerDay and ExitAfterSync.
    static std::wstring Stored()
    {
        using namespace Settings::Names;
        CSettingsKey store;
        store.OpenKey(Settings::kKeyPath, false);
        std::wstring text;
        for (const wchar_t* name : {SyncOnStart, UseSound, CheckForUpdate, MinimizeOnSync})
            text += std::to_wstring(store.ReadNumber(name, 9)) + L",";
        text += store.ReadText(CurrentServer, L"-");
        for (const wchar_t* name : {SyncOncePerDay, ExitAfterSync})
            text += L" " + std::to_wstring(store.ReadNumber(name, 9));
        return text;
    }
};
} // namespace

TEST_F(KavrinCommandsTest, EachCommandActsAndOnlyExitKavrinSavesTheChangedGroup)
{
    const Answer chooseThenClose = [](HWND dialog, int index) {
        (index == 0 ? Choose(L"time.example") : Close)(dialog, index);
    };
    // Tray commands that arrive while the chooser is open are dropped: no second chooser, no About box,
    // no exit, no synchronisation (Run notes one), neither then nor once the chooser has closed.
    const Answer trayUnderChooser = [](HWND chooser, int) {
        for (const UINT command :
             {ID_TRAY_SHOW_SERVER_LIST, ID_APP_ABOUT, ID_APP_EXIT, ID_TRAY_SYNCHRONIZE_NOW, ID_TRAY_RESTORE})
            ::PostMessageW(::GetWindow(chooser, GW_OWNER), WM_COMMAND, command, 0);
        ::PostMessageW(chooser, WM_CLOSE, 0, 0);
    };
    const std::wstring chooser = L"NTP Pool Project Regional Servers;", none = L"127.0.0.40 - Unspecified|",
                       sync = none + L"Sync on Start, ", untouched = L"0,9,9,9,127.0.0.40 9 9";
    const struct
    {
        std::vector<Step> steps;
        Answer answer;
        std::wstring seen; // the dialogs opened, the header's server line and the options line
        INT_PTR result;    // -1: the window stays open
        std::wstring stored;
    } cases[] = {
        {{{Cmd, IDC_CHANGE_POOL}}, Choose(L"0.de.pool.ntp.org"), chooser + L"0.de.pool.ntp.org - Unspecified|", -1,
         untouched},
        {{{Sys, IDM_SELECT_POOL_SERVER}}, Choose(L"de.pool.ntp.org"), chooser + L"de.pool.ntp.org - Germany|", -1,
         untouched},
        {{{Cmd, ID_TRAY_SHOW_SERVER_LIST}}, Choose(L"pool.ntp.org"), chooser + L"pool.ntp.org - Worldwide|", -1,
         untouched},
        {{{Cmd, IDC_CHANGE_POOL}}, trayUnderChooser, chooser + none, -1, untouched},
        {{{Cmd, ID_HELP}}, Close, L"Kavrin Help;" + none, -1, untouched},
        {{{Sys, IDM_ABOUTBOX}}, Close, L"About Kavrin;" + none, -1, untouched},
        {{{Cmd, ID_APP_ABOUT}}, Close, L"About Kavrin;" + none, -1, untouched},
        {{{Sys, IDM_START_WITH_WINDOWS}}, Close, none + L"Start with Windows, ", -1, untouched},
        {{{Sys, IDM_ONCE_PER_DAY}, {Cmd, ID_APP_EXIT}}, Close, none, 0, L"0,9,9,9,127.0.0.40 1 9"},
        {{{Cmd, IDC_EXIT_AFTER_SYNC}, {Cmd, ID_APP_EXIT}}, Close, none, 0, L"0,9,9,9,127.0.0.40 9 1"},
        {{{Sys, IDM_SYNC_ON_STARTUP}, {Cmd, IDOK}}, Close, sync, IDOK, L"1,0,0,0,127.0.0.40 9 9"},
        {{{Sys, IDM_SYNC_ON_STARTUP}, {Cmd, ID_APP_EXIT}}, Close, sync, 0, untouched},
        {{{Sys, IDM_SYNC_ON_STARTUP}, {Sys, SC_CLOSE}}, Close, sync, IDCANCEL, untouched},
        {{{Sys, IDM_SYNC_ON_STARTUP}, {Key, VK_ESCAPE}}, Close, sync, IDCANCEL, untouched},
        {{{Cmd, IDC_USE_SOUND}, {Cmd, IDOK}}, Close, none, IDOK, untouched},
        {{{Cmd, IDC_USE_SOUND}, {Sys, IDM_MINIMIZE_AFTER_SYNC}, {Cmd, IDOK}}, Close, none + L"Minimize after Sync",
         IDOK, L"0,1,0,1,127.0.0.40 9 9"},
        {{{Cmd, IDC_CHANGE_POOL}, {Sys, IDM_SELECT_POOL_SERVER}, {Cmd, IDOK}}, chooseThenClose,
         chooser + chooser + L"time.example - Unspecified|", IDOK, L"0,0,0,0,time.example 9 9"},
    };
    for (const auto& c : cases)
    {
        Reset();
        {
            CKavrinDlg window;
            const std::wstring seen = Run(window, c.steps, c.answer);
            const HWND main = window.GetSafeHwnd();
            const std::wstring header = Text(main, IDC_HEADER);
            EXPECT_EQ(seen + header.substr(header.rfind(L'\n') + 1) + L"|" + Text(main, IDC_PROGRAM_CONFIG), c.seen);
            EXPECT_EQ(window.GetResult(), c.result) << testing::PrintToString(c.seen);
            EXPECT_EQ(Stored(), c.stored) << testing::PrintToString(c.seen);
        }
        // Where the toggle was dropped, the next start shows the old state.
        if (c.stored[0] == L'0')
        {
            CKavrinDlg next;
            Run(next, {});
            const HMENU menu = ::GetSystemMenu(next.GetSafeHwnd(), FALSE);
            EXPECT_FALSE(::GetMenuState(menu, IDM_SYNC_ON_STARTUP, MF_BYCOMMAND) & MF_CHECKED);
        }
    }
}

TEST_F(KavrinCommandsTest, EnterEndsTheProgramAfterSavingTheGroup)
{
    Reset();
    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.Start(L"Kavrin.exe", L""));
    const HWND window = kavrin.WaitForWindow(L"Kavrin", 20000);
    ::SendMessageW(window, WM_SYSCOMMAND, IDM_MINIMIZE_AFTER_SYNC, 0);
    ::PostMessageW(::GetDlgItem(window, IDC_RESULTS), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(ExitCodeOf(kavrin, 10000), 0);
    EXPECT_EQ(Stored(), L"0,0,0,1,127.0.0.40 9 9");
}
