// start-to-window RUNS SERVER
// Starts Kavrin.exe from this program's folder once to warm up and then RUNS
// times, each time measuring from CreateProcess to its visible window, which
// it then closes. Kavrin synchronises on start against SERVER and checks
// for no update. Prints the times and their median in milliseconds.

#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "framework/Handles_win.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
double Seconds()
{
    LARGE_INTEGER now{}, frequency{};
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND VisibleWindowOf(DWORD processId)
{
    for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, L"#32770", L"Kavrin")) != nullptr;)
    {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId && ::IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

// Milliseconds from the start to the window; negative when none came in 10 s.
double StartToWindow(const std::wstring& program)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + program + L"\"";
    const double started = Seconds();
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        return -1.0;
    const CUniqueKernelHandle process(info.hProcess), thread(info.hThread);
    HWND window = nullptr;
    while (!(window = VisibleWindowOf(info.dwProcessId)) && Seconds() - started < 10.0)
        ::Sleep(1);
    const double elapsed = (Seconds() - started) * 1000.0;
    if (window)
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.Get(), 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(process.Get(), 1);
    return window ? elapsed : -1.0;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: start-to-window RUNS SERVER\n");
        return 2;
    }
    CSettingsKey settings;
    if (!settings.OpenKey(Settings::kKeyPath, true) || !settings.WriteNumber(Settings::Names::SyncOnStart, 1) ||
        !settings.WriteNumber(Settings::Names::CheckForUpdate, 0) ||
        !settings.WriteText(Settings::Names::CurrentServer, argv[2]))
        return 1;

    wchar_t path[MAX_PATH] = {};
    std::wstring program(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    program = program.substr(0, program.find_last_of(L"\\/") + 1) + L"Kavrin.exe";
    StartToWindow(program);
    std::vector<double> times;
    for (int run = std::max(1, _wtoi(argv[1])); run > 0; --run)
    {
        const double ms = StartToWindow(program);
        if (ms < 0)
            return std::fprintf(stderr, "start-to-window: no window\n"), 1;
        times.push_back(ms);
        std::printf("%.1f ", ms);
    }
    std::sort(times.begin(), times.end());
    const std::size_t middle = times.size() / 2;
    const double median = times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    std::printf("\nmedian_ms=%.1f\n", median);
    return 0;
}
