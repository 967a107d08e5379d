#pragma once
// What the bench programs share: Kavrin.exe beside them started with fresh
// settings that synchronise on start, its window found, its end awaited.

#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "framework/Handles_win.h"

#include <string>

inline double Seconds()
{
    LARGE_INTEGER now{}, frequency{};
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Fresh settings: synchronise on start against `server`, no update check.
inline bool SeedSyncOnStart(const wchar_t* server)
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
    CSettingsKey settings;
    return settings.OpenKey(Settings::kKeyPath, true) && settings.WriteNumber(Settings::Names::SyncOnStart, 1) &&
           settings.WriteNumber(Settings::Names::CheckForUpdate, 0) &&
           settings.WriteText(Settings::Names::CurrentServer, server);
}

class CStartedKavrin
{
public:
    // Starts Kavrin.exe from this program's folder.
    bool Start()
    {
        wchar_t path[MAX_PATH] = {};
        std::wstring program(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
        program = program.substr(0, program.find_last_of(L"\\/") + 1) + L"Kavrin.exe";
        std::wstring commandLine = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &info))
            return false;
        ::CloseHandle(info.hThread);
        m_process.Reset(info.hProcess);
        m_id = info.dwProcessId;
        return true;
    }
    // Its dialog window "Kavrin" (a visible one when asked), waiting up to 10 s.
    HWND WaitForWindow(bool visible) const
    {
        for (const double started = Seconds(); Seconds() - started < 10.0; ::Sleep(1))
            for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, L"#32770", L"Kavrin")) != nullptr;)
            {
                DWORD owner = 0;
                ::GetWindowThreadProcessId(window, &owner);
                if (owner == m_id && (!visible || ::IsWindowVisible(window)))
                    return window;
            }
        return nullptr;
    }
    // Closes `window` (if any) and waits for the end, ending the program after 10 s.
    void Close(HWND window) const
    {
        if (window)
            ::PostMessageW(window, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(m_process.Get(), 10000) != WAIT_OBJECT_0)
            ::TerminateProcess(m_process.Get(), 1);
    }

private:
    CUniqueKernelHandle m_process;
    DWORD m_id = 0;
};
