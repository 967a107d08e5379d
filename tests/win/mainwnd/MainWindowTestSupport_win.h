#pragma once
// Shared by the main window's tests: a fresh settings key, the window driven by messages, its texts.

#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "mainwnd/KavrinDlg_win.h"
#include "resources/resource.h"
#include "sntp/SntpSocket.h"
#include "tests/support/TestPeersGate.h"
#include "tests/support/win/ProcessRunner.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>

// The text of `window`, or of its control `id`.
inline std::wstring Text(HWND window, int id = 0)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(id ? ::GetDlgItem(window, id) : window, text, 512);
    return text;
}

inline void Pump()
{
    for (MSG msg{}; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
        ::DispatchMessageW(&msg);
}

// Runs the thread's messages, timers included, until `done` or for `ms`.
inline void PumpUntil(const std::function<bool()>& done, DWORD ms = 2000)
{
    for (const ULONGLONG end = ::GetTickCount64() + ms; !done() && ::GetTickCount64() < end; Pump())
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
}

inline bool ShowsCorrection(const std::wstring& status)
{
    return std::regex_match(status, std::wregex(LR"(Time Corrected by [+-]0\.\d{3} seconds at \d\d:\d\d:\d\d [AP]M)"));
}

// Whether the settings key holds `name`; its size in bytes.
inline bool HasValue(const wchar_t* name, DWORD* size = nullptr)
{
    return ::RegGetValueW(HKEY_CURRENT_USER, Settings::kKeyPath, name, RRF_RT_ANY, nullptr, nullptr, size) ==
           ERROR_SUCCESS;
}

// A fresh settings key that starts no synchronisation, with `server` as the time server.
inline CSettingsKey FreshSettings(const wchar_t* server)
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
    CSettingsKey store;
    EXPECT_TRUE(StoreNumber(store, Settings::Names::SyncOnStart, 0));
    EXPECT_TRUE(store.WriteText(Settings::Names::CurrentServer, server));
    return store;
}

// The program's exit code within `ms`, or -1 (the program closed).
inline long ExitCodeOf(CProcessRunner& program, DWORD ms)
{
    DWORD exitCode = 0;
    if (program.WaitForExit(ms, exitCode))
        return static_cast<long>(exitCode);
    program.Close(program.WaitForWindow(L"Kavrin", 1000));
    return -1;
}

// The window from a fresh key with chronyd as the server; the key goes at the end.
class MainWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ::LoadLibraryW(L"Riched20.dll");
        m_settings = FreshSettings(TestPeers::kChronyd);
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath); }

    CKavrinDlg& Open()
    {
        EXPECT_TRUE(m_dialog.Create(nullptr));
        m_dialog.ShowWindow(SW_SHOWNORMAL);
        Pump();
        return m_dialog;
    }
    // The command of control `id` as its click sends it; answers the status it leaves once
    // a synchronisation it started has ended.
    std::wstring Command(int id)
    {
        ::SendMessageW(m_dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(m_dialog.GetDlgItem(id)));
        WaitForSync();
        return Status();
    }
    void WaitForSync() { PumpUntil([this] { return !m_dialog.IsSyncRunning(); }, 8000); }
    std::wstring Status() const { return Text(m_dialog.GetSafeHwnd(), IDC_STATUS); }
    // "Synchronize Now!" against `host`; answers the status it leaves.
    std::wstring Synchronize(const wchar_t* host)
    {
        m_dialog.ChangeServer(host);
        return Command(IDC_SYNCHRONIZE_NOW);
    }

    CSocketLayer m_sockets;
    CSettingsKey m_settings;
    CKavrinDlg m_dialog;
};
