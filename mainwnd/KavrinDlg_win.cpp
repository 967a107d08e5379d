#include "mainwnd/KavrinDlg_win.h"

#include "common/SettingsKey_win.h"
#include "common/SyncDate_win.h"
#include "framework/CallbackGuard_win.h"
#include "framework/Handles_win.h"
#include "framework/LocalTime_win.h"
#include "framework/MessageBox_win.h"
#include "framework/WinApp_win.h"
#include "mainwnd/DataFolder_win.h"
#include "mainwnd/LogonTask_win.h"
#include "mainwnd/SyncReport.h"
#include "pool/PoolServerTable.h"
#include "pool/ShowServersDlg_win.h"
#include "resources/resource.h"
#include "sntp/ClockCorrection.h"
#include "update/AboutDlg_win.h"
#include "update/ReleaseVersionFile_win.h"
#include "update/UpdateCheck_win.h"

#include <commctrl.h>

#include <ctime>
#include <optional>

namespace
{
constexpr DWORD kReplyTimeoutMs = 5000;

struct SystemMenuItem
{
    UINT id;      // 0: a separator
    UINT stringId; // 0: the text below
    const wchar_t* text;
};

constexpr SystemMenuItem kSystemMenu[] = {
    {0, 0, nullptr},
    {IDM_START_WITH_WINDOWS, IDS_START_WITH_WINDOWS, nullptr},
    {IDM_START_WITHOUT_UAC, 0, L"Start with Windows without a UAC prompt"},
    {IDM_SYNC_ON_STARTUP, IDS_SYNC_ON_STARTUP, nullptr},
    {IDM_MINIMIZE_AFTER_SYNC, IDS_MINIMIZE_AFTER_SYNC, nullptr},
    {IDM_SET_EXIT_TIME, 0, L"Set time before exiting following synchronization"},
    {IDM_ONCE_PER_DAY, 0, L"Sync only once per day"},
    {IDM_KEEP_SYNCHRONIZED, 0, L"&Keep synchronized while running"},
    {0, 0, nullptr},
    {IDM_AUTO_CHECK_UPDATE, IDS_AUTO_CHECK_UPDATE, nullptr},
    {IDM_CHECK_NEWER_VERSION, IDS_CHECK_NEWER_VERSION, nullptr},
    {0, 0, nullptr},
    {IDM_SELECT_POOL_SERVER, IDS_SELECT_POOL_SERVER, nullptr},
    {0, 0, nullptr},
    {IDM_ABOUTBOX, IDS_ABOUTBOX, nullptr},
};

struct ToolTip
{
    int id;
    const wchar_t* text;
};

constexpr ToolTip kToolTips[] = {
    {IDC_SYNCHRONIZE_NOW, L"Synchronize this computer's clock to the international time server."},
    {IDC_SET_EXIT_TIME, L"Set the number of seconds following synchronization the program will close."},
    {IDC_CHANGE_POOL, L"Select a regional international sever pool from which the time server will be selected."},
    {IDC_CANCEL_EXIT, L"Cancel the exit after synchronization, but do not change the default setting."},
    {IDC_EXIT_AFTER_SYNC,
     L"If checked Kavrin will exit a specified time following synchronization. This setting is remembered."},
};

void SetMenuCheck(HMENU menu, UINT id, bool checked)
{
    if (menu)
        ::CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// The help button's text: there is no help file.
constexpr wchar_t kHelpCaption[] = L"Kavrin Help";
constexpr wchar_t kHelpText[] =
    L"Kavrin sets this computer's clock from an Internet time server.\n\n"
    L"Synchronize Now! asks the server named at the top of the window for the time and corrects the clock.\n\n"
    L"Change Regional Server Pool lets you pick a zone of the NTP Pool Project or type any other time server.\n\n"
    L"Exit after time synchronization closes Kavrin a while after a synchronization; Set chooses how long.\n\n"
    L"Minimize to Tray hides Kavrin in the notification area; double-click its icon to bring it back.\n\n"
    L"More options are in the window's system menu (click the icon in the title bar): start with Windows (with "
    L"or without a UAC prompt), synchronize on startup, minimize after synchronization, sync only once per day, "
    L"keep synchronized while running and the update checks.\n\n"
    L"Sync only once per day, Keep synchronized while running, Exit after time synchronization, its number of "
    L"seconds and both ways to start with Windows take effect and are stored at once. The time server and the "
    L"other options of the system menu are kept only when you leave through Exit Kavrin (or Enter); closing the "
    L"window any other way drops those changes.";

} // namespace

CKavrinDlg::CKavrinDlg() noexcept
    : CDialogEx(IDD_KAVRIN_DIALOG), m_exitCountdown(*this, {m_settings, m_bSyncCompleted, m_tLastSync}),
      m_resync(*this)
{
    m_hIcon = static_cast<HICON>(::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 0,
                                              0, LR_DEFAULTSIZE | LR_SHARED));
}

bool CKavrinDlg::OnInitDialog()
{
    BindControls();
    AppendSystemMenu();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    CSettingsKey store;
    if (LoadKavrinSettings(store, m_settings, DefaultPoolServer()))
    {
        ::SetDlgItemTextW(m_hWnd, IDC_EXIT_AFTER_SYNC, SyncReport::ExitAfterSyncText(m_settings.TimeToExit).c_str());
    }
    // A site that cannot be reached is reported, and set-up goes on.
    if (m_settings.CheckForUpdate && RunUpdateCheck(false))
        return true;

    HMENU systemMenu = ::GetSystemMenu(m_hWnd, FALSE);
    SetMenuCheck(systemMenu, IDM_AUTO_CHECK_UPDATE, m_settings.CheckForUpdate);
    SetMenuCheck(systemMenu, IDM_MINIMIZE_AFTER_SYNC, m_settings.MinimizeOnSync);
    SetMenuCheck(systemMenu, IDM_ONCE_PER_DAY, m_settings.SyncOncePerDay);
    SetMenuCheck(systemMenu, IDM_KEEP_SYNCHRONIZED, m_settings.KeepSynchronized);

    StyleControls();
    SetUpResultsList();
    m_tray.CreateTrayIcon(m_hWnd, m_hIcon);
    SetUpDataFolder();
    m_exitCountdown.StartTimers();
    CheckStartupShortcut(systemMenu);
    CheckStartupTask();
    if (m_settings.KeepSynchronized)
        m_resync.ScheduleRegular(m_settings.ResyncHours);

    if (m_settings.SyncOnStart)
    {
        SetMenuCheck(systemMenu, IDM_SYNC_ON_STARTUP, true);
        m_bSyncCompleted = false;
        SynchronizeTime();
    }
    UpdateConfigSummary();

    ::CheckDlgButton(m_hWnd, IDC_USE_SOUND, m_settings.UseSound ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_EXIT_AFTER_SYNC, m_settings.ExitAfterSync ? BST_CHECKED : BST_UNCHECKED);
    ::EnableWindow(GetDlgItem(IDC_CANCEL_EXIT), m_settings.ExitAfterSync ? TRUE : FALSE);
    DrawOncePerDayIndicator();
    AddToolTips();
    return true;
}

void CKavrinDlg::AddToolTips()
{
    if (!m_toolTip.Create(m_hWnd))
        return;
    m_toolTip.Activate(true);
    for (const ToolTip& tip : kToolTips)
        m_toolTip.AddTool(GetDlgItem(tip.id), tip.text);
}

void CKavrinDlg::SetUpDataFolder()
{
    m_strDataFolder = CreateDataFolder();
}

void CKavrinDlg::CheckStartupShortcut(HMENU systemMenu)
{
    if (!m_startupShortcut.FindStartupShortcut())
        return;
    SetMenuCheck(systemMenu, IDM_START_WITH_WINDOWS, true);
    m_bStartWithWindows = true;
}

// The task is its own record: the check mark shows whether it is there.
void CKavrinDlg::CheckStartupTask()
{
    m_bStartWithoutUac = ReadLogonTask().has_value();
    SetMenuCheck(::GetSystemMenu(m_hWnd, FALSE), IDM_START_WITHOUT_UAC, m_bStartWithoutUac);
}

void CKavrinDlg::BindControls()
{
    m_serverCaption.SubclassDlgItem(m_hWnd, IDC_SERVER_CAPTION);
    m_status.SubclassDlgItem(m_hWnd, IDC_STATUS);
    m_exitCountdown.BindLabels();
    m_header.SubclassDlgItem(m_hWnd, IDC_HEADER);
    m_programConfig.SubclassDlgItem(m_hWnd, IDC_PROGRAM_CONFIG);
    m_results.Attach(m_hWnd, IDC_RESULTS);
    m_exitGroup.SubclassDlgItem(m_hWnd, IDC_EXIT_GROUP);
    m_oncePerDay.SubclassDlgItem(m_hWnd, IDC_ONCE_PER_DAY);
}

void CKavrinDlg::AppendSystemMenu()
{
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    if (!menu || LoadResourceString(IDS_ABOUTBOX).empty())
        return;
    for (const SystemMenuItem& item : kSystemMenu)
    {
        if (item.id == 0)
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
        {
            const std::wstring text = item.text ? item.text : LoadResourceString(item.stringId);
            ::AppendMenuW(menu, MF_STRING, item.id, text.c_str());
        }
    }
}

void CKavrinDlg::StyleControls()
{
    m_serverCaption.SetGradientColors(RGB(0, 0, 255), RGB(192, 192, 208));
    m_serverCaption.SetTextColor(RGB(255, 255, 0));
    m_serverCaption.SetFontSize(9);
    // Nothing to describe before the first exchange.
    m_serverCaption.SetText(L"");
    m_exitCountdown.StyleLabels();
    m_header.SetTextColor(RGB(255, 255, 0));
    m_header.SetBkColor(RGB(0, 0, 128));
    m_header.SetBorder(true);
    m_programConfig.SetBorder(true);
    m_programConfig.SetTextColor(RGB(255, 255, 255));
    // White text needs a dark ground: the header's, right above it.
    m_programConfig.SetBkColor(RGB(0, 0, 128));
    m_exitGroup.SetBoldTitle(true);
}

void CKavrinDlg::UpdateConfigSummary()
{
    const std::wstring region = FindPoolRegion(m_settings.CurrentServer);
    m_strConfigSummary =
        SyncReport::ConfigSummary(m_settings.SyncOnStart, m_bStartWithWindows || m_bStartWithoutUac,
                                  m_settings.MinimizeOnSync);
    const std::tm now = ToLocalTime(CurrentTime()).value_or(std::tm{});
    m_header.SetText(SyncReport::Header(now, m_settings.CurrentServer, region));
    m_programConfig.SetText(m_strConfigSummary);
}

void CKavrinDlg::ChangeServer(const std::wstring& server)
{
    m_settings.CurrentServer = server;
    UpdateConfigSummary();
    m_bSettingsChanged = true;
}

void CKavrinDlg::DrawOncePerDayIndicator()
{
    m_oncePerDay.SetOn(m_settings.SyncOncePerDay);
}

// The query runs on a worker; OnSyncAnswer takes it from there. While one
// runs, another request starts nothing.
void CKavrinDlg::SynchronizeTime()
{
    if (m_bSyncRunning)
        return;
    m_bSyncRunning = StartSyncWorker(m_hWnd, m_settings.CurrentServer, kReplyTimeoutMs);
    if (!m_bSyncRunning)
        OnSyncAnswer(nullptr);
}

void CKavrinDlg::OnSyncAnswer(std::unique_ptr<SyncAnswer> answer)
{
    m_bSyncRunning = false;
    if (!answer || !answer->answered)
    {
        m_status.SetText(SyncReport::NoReply(answer ? answer->server : m_settings.CurrentServer));
    }
    else
    {
        const SntpResult& result = answer->result;
        ShowResults(answer->serverName, result);
        const ClockCorrection outcome = CorrectSystemClock(result.localClockOffset);
        if (outcome == ClockCorrection::Refused)
        {
            m_status.SetText(SyncReport::kRefused);
        }
        else
        {
            const std::optional<std::tm> now = ToLocalTime(CurrentTime());
            std::wstring message = SyncReport::kFailed;
            if (outcome == ClockCorrection::Corrected)
            {
                message = SyncReport::Corrected(result.localClockOffset,
                                                now ? SyncReport::TimeOfDay(*now) : std::wstring());
                // A day that cannot be told is not recorded.
                if (m_settings.SyncOncePerDay && now)
                    StoreLastSyncDate(*now);
            }
            ReportOutcome(message);
            m_tLastSync = CurrentTime();
            m_bSyncCompleted = true;
        }
    }
    // An answer that arrives under an open dialog of ours leaves the window
    // where the user is working.
    if (m_settings.MinimizeOnSync && !m_bMinimizedToTray && ::IsWindowEnabled(m_hWnd))
        MinimizeToTray();
    m_exitCountdown.RestartExitTimer();
    if (m_settings.KeepSynchronized)
        m_resync.ScheduleRegular(m_settings.ResyncHours);
}

void CKavrinDlg::ShowResults(const std::wstring& serverName, const SntpResult& result)
{
    m_serverCaption.SetText(SyncReport::Caption(serverName));
    m_results.DeleteAllItems();
    const SyncReport::Rows rows = SyncReport::ResultRows(result);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i)
    {
        m_results.InsertItem(i, rows[i].label);
        m_results.SetItemText(i, 1, rows[i].value);
    }
}

void CKavrinDlg::StoreLastSyncDate(const std::tm& now) const
{
    const SyncDateRecord record = MakeSyncDateRecord(now);
    CSettingsKey store;
    StoreDateRecord(store, Settings::Names::LastSyncDate, record);
}

void CKavrinDlg::ReportOutcome(const std::wstring& message)
{
    m_status.SetTextColor(RGB(0, 0, 255));
    m_status.SetBkColor(RGB(192, 192, 0));
    m_status.SetBorder(true);
    m_status.SetText(message);
    m_tray.SetTipText(message);
    m_tray.ShowSyncBalloon(message);
}

void CKavrinDlg::MinimizeToTray()
{
    ShowWindow(SW_HIDE);
    m_tray.HideToTray(m_hWnd);
    m_bMinimizedToTray = true;
}

// Clicks and menu commands carry the notification code 0 (BN_CLICKED); a
// double click on a drawn button is not a second click.
bool CKavrinDlg::OnCommand(int id, int code, HWND control)
{
    if (code != BN_CLICKED)
        return false;
    switch (id)
    {
    case IDC_SYNCHRONIZE_NOW:
    case ID_TRAY_SYNCHRONIZE_NOW:
        OnSynchronizeNow();
        return true;
    case IDC_MINIMIZE_TO_TRAY:
        OnMinimizeToTray();
        return true;
    case IDC_CHANGE_POOL:
    case ID_TRAY_SHOW_SERVER_LIST:
        OnChooseServer();
        return true;
    case IDOK_EXIT_KAVRIN:
        OnExitKavrin();
        return true;
    case ID_HELP:
        OnHelp();
        return true;
    case IDC_USE_SOUND:
        OnUseSoundClicked();
        return true;
    case IDC_EXIT_AFTER_SYNC:
        m_exitCountdown.OnExitAfterSyncClicked();
        return true;
    case IDC_CANCEL_EXIT:
        m_exitCountdown.OnCancelExitClicked();
        return true;
    case IDC_SET_EXIT_TIME:
        m_exitCountdown.OnSetExitTime();
        return true;
    case ID_TRAY_RESTORE:
        OnRestoreFromTray();
        return true;
    case ID_APP_ABOUT:
        OnAbout();
        return true;
    case ID_APP_EXIT:
        OnExitWithoutSaving();
        return true;
    default:
        return CDialogEx::OnCommand(id, code, control);
    }
}

// The commands added to the system menu come with exactly their ids (16 to
// 31 share their upper bits, so no masking); the system's own commands go
// on to the platform.
bool CKavrinDlg::OnSysCommand(UINT id, LPARAM)
{
    bool handled = true;
    switch (id)
    {
    case IDM_ABOUTBOX:
        OnAbout();
        break;
    case IDM_CHECK_NEWER_VERSION:
        OnCheckForNewerVersion();
        break;
    case IDM_AUTO_CHECK_UPDATE:
        OnAutoCheckUpdate();
        break;
    case IDM_SELECT_POOL_SERVER:
        OnChooseServer();
        break;
    case IDM_START_WITH_WINDOWS:
        OnStartWithWindows();
        break;
    case IDM_START_WITHOUT_UAC:
        OnStartWithoutUac();
        break;
    case IDM_KEEP_SYNCHRONIZED:
        OnKeepSynchronized();
        break;
    case IDM_SYNC_ON_STARTUP:
        OnSyncOnStartup();
        break;
    case IDM_MINIMIZE_AFTER_SYNC:
        OnMinimizeAfterSync();
        break;
    case IDM_SET_EXIT_TIME:
        m_exitCountdown.OnSetExitTime();
        break;
    case IDM_ONCE_PER_DAY:
        OnOncePerDay();
        break;
    default:
        handled = false;
        break;
    }
    return handled;
}

// The summary is rebuilt after every system command, the system's own ones
// included, once the platform has carried it out.
LRESULT CKavrinDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    const LRESULT result = CDialogEx::WindowProc(msg, wp, lp);
    if (msg == WM_SYSCOMMAND && IsWindow())
        UpdateConfigSummary();
    return result;
}

bool CKavrinDlg::OnTimer(UINT_PTR id)
{
    switch (id)
    {
    case CExitCountdown::kClockTimer:
        m_exitCountdown.OnClockTick();
        return true;
    case CExitCountdown::kExitTimer:
        m_exitCountdown.OnExitTimer();
        return true;
    case CResyncTimer::kTimer:
        OnResyncTimer();
        return true;
    default:
        return false;
    }
}

void CKavrinDlg::OnSynchronizeNow()
{
    if (m_bSyncRunning)
        return;
    m_bSyncCompleted = false;
    SynchronizeTime();
}

void CKavrinDlg::OnMinimizeToTray()
{
    MinimizeToTray();
}

void CKavrinDlg::OnChooseServer()
{
    CShowServersDlg chooser;
    chooser.m_strServer = m_settings.CurrentServer;
    if (chooser.DoModal(m_hWnd) == IDOK)
        ChangeServer(chooser.m_strServer);
}

// Saves the group of options when one of them changed; the OK result then
// ends the program.
void CKavrinDlg::OnExitKavrin()
{
    if (m_bSettingsChanged)
    {
        CSettingsKey store;
        SaveOptionGroup(store, m_settings);
    }
    WriteReleaseVersionFile(m_hWnd, L"");
    EndDialog(IDOK);
}

void CKavrinDlg::OnHelp()
{
    ::MessageBoxW(m_hWnd, kHelpText, kHelpCaption, MB_OK | MB_ICONINFORMATION);
}

// Kept with the group, but a change of the box alone is not worth saving.
void CKavrinDlg::OnUseSoundClicked()
{
    m_settings.UseSound = ::IsDlgButtonChecked(m_hWnd, IDC_USE_SOUND) == BST_CHECKED;
}

void CKavrinDlg::OnRestoreFromTray()
{
    m_tray.RestoreFromTray(m_hWnd);
    m_bMinimizedToTray = false;
}

void CKavrinDlg::OnAbout()
{
    CAboutDlg about;
    about.DoModal(m_hWnd);
    if (about.IsSetupStarted())
        EndForUpdate();
}

void CKavrinDlg::OnExitWithoutSaving()
{
    EndDialog(0);
}

void CKavrinDlg::OnCheckForNewerVersion()
{
    RunUpdateCheck(true);
}

// An unreachable site is reported once and ends only the check, so that
// the command that ran it still finishes. Answers whether the program ends.
bool CKavrinDlg::RunUpdateCheck(bool reportWhenCurrent)
{
    UpdateOutcome outcome = UpdateOutcome::Nothing;
    CallbackGuard([&] { outcome = CheckForNewerVersion(m_hWnd, {reportWhenCurrent, false, L"Kavrin"}); });
    switch (outcome)
    {
    case UpdateOutcome::SetupStarted:
        EndForUpdate();
        return true;
    case UpdateOutcome::ProductPageWanted:
        OpenProductPage(m_hWnd);
        return false;
    case UpdateOutcome::Nothing:
        return false;
    }
    return false;
}

// The setup program replaces this one: end at once, with exit code 0,
// saving nothing, and take the icon out of the notification area first.
void CKavrinDlg::EndForUpdate()
{
    m_tray.RemoveTrayIcon();
    EndDialog(0);
}

// Turning the automatic check off still checks once, right now.
void CKavrinDlg::OnAutoCheckUpdate()
{
    m_settings.CheckForUpdate = ToggleByCheckMark(IDM_AUTO_CHECK_UPDATE, m_settings.CheckForUpdate);
    m_bSettingsChanged = true;
    OnCheckForNewerVersion();
}

// The shortcut and the task exclude each other: the one turned on, once it
// is in place, takes the other away.
void CKavrinDlg::OnStartWithWindows()
{
    m_bStartWithWindows = ToggleByCheckMark(IDM_START_WITH_WINDOWS, m_bStartWithWindows);
    m_startupShortcut.UpdateStartupShortcut(m_bStartWithWindows);
    m_bSettingsChanged = true;
    if (m_bStartWithWindows && m_bStartWithoutUac && m_startupShortcut.FindStartupShortcut())
        RemoveStartupTask();
}

void CKavrinDlg::OnStartWithoutUac()
{
    if (m_bStartWithoutUac)
    {
        RemoveStartupTask();
        return;
    }
    const HRESULT result = RegisterLogonTask();
    if (FAILED(result))
        AfxMessageBox(L"Unable to create Startup Task - " + LogonTaskErrorText(result), MB_OK);
    CheckStartupTask();
    if (m_bStartWithoutUac && m_bStartWithWindows)
        TurnStartupShortcutOff();
}

void CKavrinDlg::TurnStartupShortcutOff()
{
    m_bStartWithWindows = false;
    SetMenuCheck(::GetSystemMenu(m_hWnd, FALSE), IDM_START_WITH_WINDOWS, false);
    m_startupShortcut.UpdateStartupShortcut(false);
}

void CKavrinDlg::RemoveStartupTask()
{
    const HRESULT result = RemoveLogonTask();
    if (FAILED(result))
        AfxMessageBox(L"Unable to delete Startup Task - " + LogonTaskErrorText(result), MB_OK);
    CheckStartupTask();
}

// Stored at once, like the once-a-day option; on, the next run counts from
// now.
void CKavrinDlg::OnKeepSynchronized()
{
    m_settings.KeepSynchronized = !m_settings.KeepSynchronized;
    CSettingsKey store;
    StoreNumber(store, Settings::Names::KeepSynchronized, m_settings.KeepSynchronized ? 1 : 0);
    SetMenuCheck(::GetSystemMenu(m_hWnd, FALSE), IDM_KEEP_SYNCHRONIZED, m_settings.KeepSynchronized);
    if (m_settings.KeepSynchronized)
        m_resync.ScheduleRegular(m_settings.ResyncHours);
    else
        m_resync.Stop();
}

// A run of its own is the same as "Synchronize Now!". It never starts
// under another run, an open dialog or a pending exit: it tries again a
// little later (a run that ends sets the regular delay anew).
void CKavrinDlg::OnResyncTimer()
{
    const Resync::Situation now{m_settings.KeepSynchronized, m_bSyncRunning, !::IsWindowEnabled(m_hWnd),
                                IsEnded() || (m_settings.ExitAfterSync && m_bSyncCompleted)};
    switch (Resync::Decide(now))
    {
    case Resync::Decision::Stop:
        m_resync.Stop();
        break;
    case Resync::Decision::Wait:
        m_resync.ScheduleRetry();
        break;
    case Resync::Decision::Run:
        m_resync.Stop();
        OnSynchronizeNow();
        break;
    }
}

// Both resume events may come; the second only sets the same delay again.
void CKavrinDlg::OnPowerBroadcast(WPARAM event)
{
    if (m_settings.KeepSynchronized && (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND))
        m_resync.ScheduleAfterResume();
}

void CKavrinDlg::OnSyncOnStartup()
{
    m_settings.SyncOnStart = ToggleByCheckMark(IDM_SYNC_ON_STARTUP, m_settings.SyncOnStart);
    m_bSettingsChanged = true;
}

void CKavrinDlg::OnMinimizeAfterSync()
{
    m_settings.MinimizeOnSync = ToggleByCheckMark(IDM_MINIMIZE_AFTER_SYNC, m_settings.MinimizeOnSync);
    m_bSettingsChanged = true;
}

// Stored at once, whichever way the window ends.
void CKavrinDlg::OnOncePerDay()
{
    m_settings.SyncOncePerDay = !m_settings.SyncOncePerDay;
    CSettingsKey store;
    StoreNumber(store, Settings::Names::SyncOncePerDay, m_settings.SyncOncePerDay ? 1 : 0);
    SetMenuCheck(::GetSystemMenu(m_hWnd, FALSE), IDM_ONCE_PER_DAY, m_settings.SyncOncePerDay);
    DrawOncePerDayIndicator();
}

bool CKavrinDlg::ToggleByCheckMark(UINT item, bool current)
{
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    const UINT state = menu ? ::GetMenuState(menu, item, MF_BYCOMMAND) : static_cast<UINT>(-1);
    const bool wasChecked = state == static_cast<UINT>(-1) ? current : (state & MF_CHECKED) != 0;
    SetMenuCheck(menu, item, !wasChecked);
    return !wasChecked;
}

bool CKavrinDlg::OnNotify(NMHDR& header, LRESULT& result)
{
    if (header.idFrom == IDC_RESULTS && header.code == NM_CUSTOMDRAW)
    {
        result = OnResultsCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        return true;
    }
    return false;
}

bool CKavrinDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    switch (msg)
    {
    case WM_TRAY_NOTIFY:
        result = m_tray.OnIconNotify(static_cast<UINT>(wp), static_cast<UINT>(lp)) ? 1 : 0;
        return true;
    case WM_SYNC_ANSWER:
        OnSyncAnswer(TakeSyncAnswer(lp));
        return true;
    case WM_POWERBROADCAST:
        OnPowerBroadcast(wp);
        return false;
    case WM_DESTROY:
        m_tray.RemoveTrayIcon();
        DiscardSyncAnswers(m_hWnd);
        return false;
    default:
        return false;
    }
}

void CKavrinDlg::OnShowWindow(bool show, UINT)
{
    if (show)
        m_tray.RestoreFromTray(m_hWnd);
}

bool CKavrinDlg::PreTranslateMessage(MSG& msg)
{
    m_toolTip.RelayEvent(msg);
    return false;
}
