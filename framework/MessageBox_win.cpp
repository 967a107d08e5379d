#include "framework/MessageBox_win.h"

#include "framework/WinApp_win.h"

int AfxMessageBox(const std::wstring& text, UINT type)
{
    const CWinApp* app = AfxGetApp();
    const wchar_t* caption = app ? app->m_pszAppName : nullptr;
    HWND owner = ::GetActiveWindow();
    if (!owner)
        owner = AfxGetMainHwnd();
    return ::MessageBoxW(owner, text.c_str(), caption, type);
}

int AfxMessageBox(UINT stringId, UINT type)
{
    return AfxMessageBox(LoadResourceString(stringId), type);
}

std::wstring LoadResourceString(UINT id)
{
    const wchar_t* text = nullptr;
    // With a zero buffer length LoadStringW lends a pointer into the resource.
    const int length = ::LoadStringW(AfxGetInstanceHandle(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}
