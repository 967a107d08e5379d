#pragma once
// The application object: one per program, constructed statically. wWinMain
// hands control to Run, which calls InitInstance; a dialog program does all
// its work there and answers false, so no message loop follows.

#include "framework/Module_win.h"
#include "framework/Wnd_win.h"

#include <string>

class CWinApp
{
public:
    explicit CWinApp(const wchar_t* appName) noexcept;
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    int Run(HINSTANCE instance);
    virtual bool InitInstance() { return true; }
    virtual int ExitInstance() { return m_nExitCode; }

    // The company name under which the framework would keep its own
    // per-user profile. Recorded only: nothing is stored there.
    void SetRegistryKey(const wchar_t* company) { m_strRegistryKey = company; }

    HINSTANCE m_hInstance = nullptr;
    const wchar_t* m_pszAppName;
    CWnd* m_pMainWnd = nullptr;

protected:
    int m_nExitCode = 0;

private:
    std::wstring m_strRegistryKey;
};

CWinApp* AfxGetApp() noexcept;
// The application's main window, or null when there is none (yet).
HWND AfxGetMainHwnd() noexcept;
