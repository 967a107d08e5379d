#pragma once
// Starts one of the built programs beside the test program and watches it; finds windows.

#include "framework/Handles_win.h"

#include <functional>
#include <string>

class CProcessRunner
{
public:
    // `program` is a file name in the test program's own folder; `path` a full one.
    bool Start(const std::wstring& program, const std::wstring& arguments);
    bool StartPath(const std::wstring& path, const std::wstring& arguments);
    // Waits for the process to end; answers its exit code, or nothing in time.
    bool WaitForExit(DWORD timeoutMs, DWORD& exitCode) const;
    // Waits for a visible top-level window of the process with this caption; nothing once it ended.
    HWND WaitForWindow(const std::wstring& caption, DWORD timeoutMs) const;
    // Asks the program's main window to close, then ends it if it will not.
    void Close(HWND window, DWORD timeoutMs = 10000);

private:
    CUniqueKernelHandle m_process;
    DWORD m_processId = 0;
};

std::wstring TestProgramFolder();
// The first visible window that `match` takes: top-level of any process, or a child of `parent`.
HWND FindVisibleWindow(const std::function<bool(HWND)>& match, HWND parent = nullptr);
// A caption, or the text of a control of this process.
std::wstring WindowText(HWND window);
// Asks `done` every 50 ms until it answers true or the time is up; answers its last answer.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000);

// A shell folder (CSIDL_...) of the test prefix; whether a file or folder exists.
std::wstring ShellFolder(int csidl);
bool Exists(const std::wstring& path);
// A shortcut's target (and working directory); empty when it cannot be read.
std::wstring ShortcutTarget(const std::wstring& file, std::wstring* directory = nullptr);
