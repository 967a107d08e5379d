#include "app/KavrinApp_win.h"

#include "app/StartupRules.h"
#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "common/SyncDate_win.h"
#include "controls/UxThemeApi_win.h"
#include "framework/DllSearch_win.h"
#include "framework/Handles_win.h"
#include "framework/LocalTime_win.h"
#include "framework/MessageBox_win.h"
#include "mainwnd/KavrinDlg_win.h"
#include "pool/PoolServerTable.h"
#include "sntp/SntpClient.h"
#include "resources/AppRes.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdlib>
#include <ctime>

namespace
{
constexpr wchar_t kCompanyKey[] = L"Halvanworks Software";
constexpr wchar_t kElevationRefused[] = L"User did not allow elevation";

CalendarDate TodayLocal()
{
    const std::optional<std::tm> local = ToLocalTime(CurrentTime());
    if (!local)
        return CalendarDate{};
    return CalendarDate{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
}
} // namespace

bool CKavrinApp::InitInstance()
{
    if (!InitPlatform())
        return false;
    ReadCommandLine();
    if (m_bSyncOnly)
    {
        EnsureAdministrator();
        EndProcess(SynchronizeOnce());
    }
    if (!m_bForceWindow && IsOnceADayDone())
        EndProcess(0);
    EnsureAdministrator();
    RunMainWindow();
    return false;
}

bool CKavrinApp::InitPlatform()
{
    // Rich edit 2.0 for the dialogs that hold one; kept loaded for the run.
    LoadSystemLibrary(L"Riched20.dll");
    CUxThemeApi::Process();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    if (!m_sockets.emplace().IsReady())
    {
        ShowMessage(IDP_SOCKETS_INIT_FAILED);
        return false;
    }

    SetRegistryKey(kCompanyKey);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    return true;
}

void CKavrinApp::ReadCommandLine()
{
    const std::wstring commandLine = CommandLine();
    if (commandLine.empty())
        return;
    CCmdLineParser parser;
    parser.ParseCommandLine(commandLine);
    m_bForceWindow = HasForceWindowOption(parser.GetOptions());
    m_bSyncOnly = HasSyncOption(parser.GetOptions());
}

std::wstring CKavrinApp::CommandLine()
{
    const wchar_t* commandLine = ::GetCommandLineW();
    return commandLine ? commandLine : L"";
}

bool CKavrinApp::IsOnceADayDone() const
{
    CSettingsKey store;
    const auto record = ReadOnceADayRecord(store);
    return record && IsAlreadySyncedToday(CalendarDateOf(*record), TodayLocal());
}

void CKavrinApp::EnsureAdministrator()
{
    if (IsUserAdministrator())
        return;
    DWORD error = ERROR_SUCCESS;
    if (RelaunchElevated(error))
        EndProcess(m_bSyncOnly ? static_cast<int>(m_dwRelaunchExitCode) : 1);
    // Without a window nothing is shown: the clock cannot be set.
    if (m_bSyncOnly)
        EndProcess(static_cast<int>(SyncExitCode::ClockNotSet));
    if (error == ERROR_CANCELLED)
        ShowMessage(kElevationRefused);
}

bool CKavrinApp::IsUserAdministrator()
{
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    CUniqueSid administrators;
    if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                                    0, 0, 0, administrators.Put()))
        return false;
    BOOL member = FALSE;
    // A membership that cannot be determined counts as "not a member".
    return ::CheckTokenMembership(nullptr, administrators.Get(), &member) && member;
}

bool CKavrinApp::RelaunchElevated(DWORD& error)
{
    wchar_t path[MAX_PATH] = {};
    if (::GetModuleFileNameW(nullptr, path, MAX_PATH) == 0)
    {
        error = ::GetLastError();
        return false;
    }
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // "/sync" waits for the elevated copy and hands its exit code on.
    info.fMask = SEE_MASK_UNICODE | (m_bSyncOnly ? SEE_MASK_NOCLOSEPROCESS : 0);
    info.lpVerb = L"runas";
    info.lpFile = path;
    info.lpParameters = RelaunchParameters(m_bForceWindow, m_bSyncOnly);
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&info))
    {
        error = ::GetLastError();
        return false;
    }
    const CUniqueKernelHandle elevated(info.hProcess);
    if (elevated && ::WaitForSingleObject(elevated.Get(), INFINITE) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(elevated.Get(), &m_dwRelaunchExitCode);
    return true;
}

int CKavrinApp::SynchronizeOnce()
{
    CSettingsKey store;
    KavrinSettings settings;
    LoadKavrinSettings(store, settings, DefaultPoolServer());
    CSNTPClient client;
    SntpResult result;
    if (!client.QueryServer(settings.CurrentServer, result))
        return static_cast<int>(SyncExitCode::NoReply);
    const ClockCorrection outcome = CorrectSystemClock(result.localClockOffset);
    // As the window's run: the date of a run that set the clock, with once a day on.
    const std::optional<std::tm> today = ToLocalTime(CurrentTime());
    if (outcome == ClockCorrection::Corrected && settings.SyncOncePerDay && today)
        StoreDateRecord(store, Settings::Names::LastSyncDate, MakeSyncDateRecord(*today));
    return static_cast<int>(SyncExitCodeOf(true, outcome));
}

void CKavrinApp::ShowMessage(UINT stringId)
{
    AfxMessageBox(stringId, MB_OK);
}

void CKavrinApp::ShowMessage(const wchar_t* text)
{
    AfxMessageBox(text, MB_OK);
}

void CKavrinApp::RunMainWindow()
{
    CKavrinDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
}

void CKavrinApp::EndProcess(int exitCode)
{
    std::exit(exitCode);
}
