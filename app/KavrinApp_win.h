#pragma once
// The application object: prepares the platform, applies the once-a-day
// rule, makes sure the program runs as administrator, then runs the main
// window modally. Its whole life is that one modal window, or, with
// "/sync", one synchronisation without any window.

#include "app/CmdLineParser.h"
#include "framework/WinApp_win.h"
#include "sntp/SntpSocket.h"

#include <optional>
#include <string>

class CKavrinApp : public CWinApp
{
public:
    CKavrinApp() noexcept : CWinApp(L"Kavrin") {}

    bool InitInstance() override;

    bool m_bForceWindow = false;
    bool m_bSyncOnly = false;

protected:
    // The steps that reach outside the process; tests replace them.
    virtual std::wstring CommandLine();
    virtual bool IsUserAdministrator();
    // Starts the program again through the "runas" verb; false with the
    // system's error when the shell could not.
    virtual bool RelaunchElevated(DWORD& error);
    virtual void ShowMessage(UINT stringId);
    virtual void ShowMessage(const wchar_t* text);
    virtual void RunMainWindow();
    [[noreturn]] virtual void EndProcess(int exitCode);

private:
    bool InitPlatform();
    void ReadCommandLine();
    bool IsOnceADayDone() const;
    void EnsureAdministrator();
    // "/sync": one synchronisation against the stored server, no window.
    int SynchronizeOnce();

    // The elevated copy's exit code, for "/sync".
    DWORD m_dwRelaunchExitCode = 0;

    std::optional<CSocketLayer> m_sockets;
};
