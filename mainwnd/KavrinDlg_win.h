#pragma once
// The program's main window: synchronises the clock on request, shows the
// exchange and its outcome, and sits in the notification area when asked.

#include "common/KavrinSettings.h"
#include "controls/Label_win.h"
#include "controls/XGroupBox_win.h"
#include "framework/Dialog_win.h"
#include "framework/ListCtrl_win.h"
#include "framework/ToolTipCtrl_win.h"
#include "mainwnd/Countdown_win.h"
#include "mainwnd/OncePerDayIndicator_win.h"
#include "mainwnd/ResyncTimer_win.h"
#include "mainwnd/StartupShortcut_win.h"
#include "mainwnd/SyncWorker_win.h"
#include "mainwnd/SystemTray_win.h"
#include "sntp/SntpPacket.h"

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

class CKavrinDlg : public CDialogEx
{
public:
    CKavrinDlg() noexcept;

    // One synchronisation: query the server (on a worker), then show the
    // exchange, correct the clock, report the outcome, minimise and re-arm
    // the exit timer as the options ask.
    void SynchronizeTime();
    void UpdateConfigSummary();
    // A server chosen by the user: kept in the working copy, saved on exit.
    void ChangeServer(const std::wstring& server);
    void DrawOncePerDayIndicator();

    const KavrinSettings& GetSettings() const noexcept { return m_settings; }
    bool IsSyncCompleted() const noexcept { return m_bSyncCompleted; }
    bool IsSyncRunning() const noexcept { return m_bSyncRunning; }
    std::int64_t GetLastSyncTime() const noexcept { return m_tLastSync; }
    bool IsMinimizedToTray() const noexcept { return m_bMinimizedToTray; }
    const CLabel& GetStatusLabel() const noexcept { return m_status; }
    const CSystemTray& GetTray() const noexcept { return m_tray; }
    bool IsStartWithWindows() const noexcept { return m_bStartWithWindows; }
    const std::wstring& GetDataFolder() const noexcept { return m_strDataFolder; }
    CExitCountdown& GetExitCountdown() noexcept { return m_exitCountdown; }
    CResyncTimer& GetResyncTimer() noexcept { return m_resync; }

    bool PreTranslateMessage(MSG& msg) override;

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    bool OnTimer(UINT_PTR id) override;
    bool OnSysCommand(UINT id, LPARAM lp) override;
    bool OnDrawItem(DRAWITEMSTRUCT& item) override;
    bool OnPaint() override;
    HICON OnQueryDragIcon() override { return m_hIcon; }
    void OnShowWindow(bool show, UINT status) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void BindControls();
    void AppendSystemMenu();
    void StyleControls();
    void SetUpResultsList();
    void AddToolTips();
    void SetUpDataFolder();
    void CheckStartupShortcut(HMENU systemMenu);
    void CheckStartupTask();

    void OnSynchronizeNow();
    void OnMinimizeToTray();
    void OnChooseServer();
    void OnExitKavrin();
    void OnHelp();
    void OnUseSoundClicked();
    void OnRestoreFromTray();
    void OnAbout();
    void OnExitWithoutSaving();

    void OnCheckForNewerVersion();
    bool RunUpdateCheck(bool reportWhenCurrent);
    void EndForUpdate();
    void OnAutoCheckUpdate();
    void OnStartWithWindows();
    void OnStartWithoutUac();
    void TurnStartupShortcutOff();
    void RemoveStartupTask();
    void OnKeepSynchronized();
    void OnResyncTimer();
    void OnPowerBroadcast(WPARAM event);
    void OnSyncOnStartup();
    void OnMinimizeAfterSync();
    void OnOncePerDay();
    // Flips the check mark of a system-menu item and answers its new state;
    // `current` stands in when the menu lacks the item.
    bool ToggleByCheckMark(UINT item, bool current);

    void OnSyncAnswer(std::unique_ptr<SyncAnswer> answer);
    void ShowResults(const std::wstring& serverName, const SntpResult& result);
    void StoreLastSyncDate(const std::tm& now) const;
    void ReportOutcome(const std::wstring& message);
    void MinimizeToTray();
    LRESULT OnResultsCustomDraw(NMLVCUSTOMDRAW& draw) const;

    KavrinSettings m_settings;
    bool m_bStartWithWindows = false;
    bool m_bStartWithoutUac = false;
    bool m_bSettingsChanged = false;
    bool m_bMinimizedToTray = false;
    bool m_bSyncCompleted = false;
    bool m_bSyncRunning = false;
    std::int64_t m_tLastSync = 0;
    std::wstring m_strConfigSummary;
    std::wstring m_strDataFolder;
    HICON m_hIcon = nullptr;

    CLabel m_serverCaption;
    CLabel m_status;
    CLabel m_header;
    CLabel m_programConfig;
    CListCtrl m_results;
    CXGroupBox m_exitGroup;
    COncePerDayIndicator m_oncePerDay;
    CToolTipCtrl m_toolTip;
    CSystemTray m_tray;
    CStartupShortcut m_startupShortcut;
    // After the state it works on.
    CExitCountdown m_exitCountdown;
    CResyncTimer m_resync;
};
