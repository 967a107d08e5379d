#pragma once
// Starts one of the built programs beside the test program and watches it.

#include "framework/Handles_win.h"

#include <string>

class CProcessRunner
{
public:
    // `program` is a file name in the test program's own folder.
    bool Start(const std::wstring& program, const std::wstring& arguments);
    // `path` is a full file name.
    bool StartPath(const std::wstring& path, const std::wstring& arguments);
    // Waits for the process to end; answers its exit code, or nothing in time.
    bool WaitForExit(DWORD timeoutMs, DWORD& exitCode) const;
    // Waits for a visible top-level window of the process with this caption;
    // nothing once the process has ended.
    HWND WaitForWindow(const std::wstring& caption, DWORD timeoutMs) const;
    // Asks the program's main window to close, then ends it if it will not.
    void Close(HWND window, DWORD timeoutMs = 10000);

private:
    CUniqueKernelHandle m_process;
    DWORD m_processId = 0;
};

std::wstring TestProgramFolder();
