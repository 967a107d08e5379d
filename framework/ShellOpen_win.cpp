#include "framework/ShellOpen_win.h"

#include <shellapi.h>

bool ShellOpen(HWND owner, const std::wstring& target) noexcept
{
    if (target.empty())
        return false;
    // ShellExecuteW answers an HINSTANCE that is really an error code; above 32 is success.
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}
