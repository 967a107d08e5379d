#include "tests/support/win/ProcessRunner.h"

namespace
{
struct WindowSearch
{
    DWORD processId;
    const std::wstring& caption;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM lp)
{
    auto& search = *reinterpret_cast<WindowSearch*>(lp);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    if (owner != search.processId || !::IsWindowVisible(hwnd) || search.caption != text)
        return TRUE;
    search.found = hwnd;
    return FALSE;
}
} // namespace

std::wstring TestProgramFolder()
{
    wchar_t path[MAX_PATH * 4] = {};
    const std::wstring program(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4));
    return program.substr(0, program.find_last_of(L"\\/") + 1);
}

bool CProcessRunner::Start(const std::wstring& program, const std::wstring& arguments)
{
    return StartPath(TestProgramFolder() + program, arguments);
}

bool CProcessRunner::StartPath(const std::wstring& path, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + path + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return false;
    ::CloseHandle(info.hThread);
    m_process.Reset(info.hProcess);
    m_processId = info.dwProcessId;
    return true;
}

bool CProcessRunner::WaitForExit(DWORD timeoutMs, DWORD& exitCode) const
{
    return ::WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0 &&
           ::GetExitCodeProcess(m_process.Get(), &exitCode);
}

HWND CProcessRunner::WaitForWindow(const std::wstring& caption, DWORD timeoutMs) const
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    do
    {
        WindowSearch search{m_processId, caption, nullptr};
        ::EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
    } while (::WaitForSingleObject(m_process.Get(), 50) != WAIT_OBJECT_0 && ::GetTickCount64() < deadline);
    return nullptr;
}

void CProcessRunner::Close(HWND window, DWORD timeoutMs)
{
    if (window)
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(m_process.Get(), timeoutMs) != WAIT_OBJECT_0)
        ::TerminateProcess(m_process.Get(), 99);
}
