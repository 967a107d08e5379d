#include "framework/WinApp_win.h"

#include "framework/CallbackGuard_win.h"
#include "framework/DllSearch_win.h"

namespace
{
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp(const wchar_t* appName) noexcept : m_pszAppName(appName)
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

int CWinApp::Run(HINSTANCE instance)
{
    RestrictDllSearch();
    m_hInstance = instance;
    AfxSetInstanceHandle(instance);
    // Errors that no command handled, as the application's own message box.
    SetExceptionReporter([this](const std::wstring& text) {
        const HWND active = ::GetActiveWindow();
        ::MessageBoxW(active ? active : AfxGetMainHwnd(), text.c_str(), m_pszAppName, MB_OK | MB_ICONEXCLAMATION);
    });
    if (InitInstance())
    {
        MSG msg{};
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        m_nExitCode = static_cast<int>(msg.wParam);
    }
    return ExitInstance();
}

CWinApp* AfxGetApp() noexcept
{
    return g_app;
}

HWND AfxGetMainHwnd() noexcept
{
    return g_app && g_app->m_pMainWnd ? g_app->m_pMainWnd->GetSafeHwnd() : nullptr;
}
