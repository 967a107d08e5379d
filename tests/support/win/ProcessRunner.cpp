#include "tests/support/win/ProcessRunner.h"

#include <objbase.h>
#include <shlobj.h>

#include <utility>

namespace
{
using Search = std::pair<const std::function<bool(HWND)>*, HWND>;

BOOL CALLBACK Visit(HWND hwnd, LPARAM lp)
{
    auto& [match, found] = *reinterpret_cast<Search*>(lp);
    found = ::IsWindowVisible(hwnd) && (*match)(hwnd) ? hwnd : nullptr;
    return !found;
}
} // namespace

std::wstring TestProgramFolder()
{
    wchar_t path[MAX_PATH * 4] = {};
    const std::wstring program(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4));
    return program.substr(0, program.find_last_of(L"\\/") + 1);
}

HWND FindVisibleWindow(const std::function<bool(HWND)>& match, HWND parent)
{
    Search search{&match, nullptr};
    const auto lp = reinterpret_cast<LPARAM>(&search);
    parent ? ::EnumChildWindows(parent, Visit, lp) : ::EnumWindows(Visit, lp);
    return search.second;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[1024] = {};
    return std::wstring(text, static_cast<std::size_t>(::GetWindowTextW(window, text, 1024)));
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    for (const ULONGLONG end = ::GetTickCount64() + timeoutMs; ::GetTickCount64() < end; ::Sleep(50))
        if (done())
            return true;
    return done();
}

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return path;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring ShortcutTarget(const std::wstring& file, std::wstring* directory)
{
    CComPtr<IShellLinkW> link;
    CComPtr<IPersistFile> persist;
    wchar_t path[MAX_PATH] = {}, folder[MAX_PATH] = {};
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())) &&
        SUCCEEDED(link.As(persist)) && SUCCEEDED(persist->Load(file.c_str(), STGM_READ)))
        link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH), link->GetWorkingDirectory(folder, MAX_PATH);
    if (directory)
        *directory = folder;
    return path;
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
    const auto ours = [&](HWND hwnd) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        return owner == m_processId && WindowText(hwnd) == caption;
    };
    HWND found = nullptr;
    const auto ended = [&] { return ::WaitForSingleObject(m_process.Get(), 0) == WAIT_OBJECT_0; };
    WaitUntil([&] { return (found = FindVisibleWindow(ours)) || ended(); }, timeoutMs);
    return found;
}

void CProcessRunner::Close(HWND window, DWORD timeoutMs)
{
    if (window)
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(m_process.Get(), timeoutMs) != WAIT_OBJECT_0)
        ::TerminateProcess(m_process.Get(), 99);
}
