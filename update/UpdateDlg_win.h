#pragma once
// "Update Options": how the update check tells its outcome. The message is
// highlighted by mode; when a newer release is published the user can
// update now (download the setup program, start it once its signature is
// the maker's, and let the program end), download only, visit the maker's
// web site, or go on without action.

#include "controls/Label_win.h"
#include "framework/Dialog_win.h"
#include "framework/ProgressCtrl_win.h"
#include "framework/RichEditCtrl_win.h"
#include "update/DownloadProgress.h"
#include "update/UpdateCheck.h"
#include "update/UpdateEnvironment_win.h"
#include "update/UpdateHighlight.h"

#include <string>

// What the update check hands the dialog.
struct UpdateOffer
{
    UpdateMode mode = UpdateMode::RunningNewer;
    std::wstring message;
    // The running program's "ProductName".
    std::wstring productName;
    // "<program>Setup.exe".
    std::wstring setupFileName;
};

class CUpdateDlg : public CDialogEx
{
public:
    // The dialog's results besides IDCANCEL (cancel or Escape).
    static constexpr INT_PTR kSetupStarted = 1;
    static constexpr INT_PTR kWebsiteVisited = 3;

    CUpdateDlg(UpdateOffer offer, const UpdateEnvironment& environment);

    // Downloads the setup program (in mode 1; the other modes start an
    // e-mail to the maker instead) and answers the saved file, or empty.
    std::wstring DownloadSetup();

    bool IsDownloaded() const noexcept { return m_download.downloaded; }
    const std::wstring& GetDownloadFolder() const noexcept { return m_download.downloadFolder; }
    const std::wstring& GetDownloadedFile() const noexcept { return m_download.downloadedFile; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnDrawItem(DRAWITEMSTRUCT& item) override;
    // Enter must not end the dialog with kSetupStarted (IDOK), which ends
    // the program.
    void OnOK() override {}

private:
    struct DownloadState
    {
        bool downloaded = false;
        std::wstring downloadFolder;
        std::wstring downloadedFile;
    };

    void ShowMessage(const std::wstring& message, const UpdateHighlight::Formatting& formatting);
    void HideForNotice();
    void OnUpdateNow();
    void OnDownloadOnly();
    void OnViewWebsite();
    void KeepDownloaded(const std::wstring& path);
    void ShowDownloadedView();
    void ShowProgress(const DownloadProgress::Step& step);
    // Starts the setup program when the maker signed it, and ends the
    // dialog; a refused one ends it as "Continue" does.
    void StartSetup(const std::wstring& path);

    UpdateOffer m_offer;
    const UpdateEnvironment& m_environment;
    DownloadState m_download;
    CProgressCtrl m_progress;
    CRichEditCtrl m_message;
    CLabel m_status;
};
