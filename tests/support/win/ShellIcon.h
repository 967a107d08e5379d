#pragma once
// Whether the shell still holds a notification icon. Wine's shell, like
// Windows', modifies only an icon that it holds.

#include <windows.h>
#include <shellapi.h>

inline bool ShellHasIcon(HWND window, UINT id)
{
    NOTIFYICONDATAW record{};
    record.cbSize = sizeof record;
    record.hWnd = window;
    record.uID = id;
    return ::Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}
