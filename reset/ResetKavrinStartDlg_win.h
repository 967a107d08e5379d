#pragma once
// The reset utility's one dialog: explains in coloured text which of
// Kavrin's options keep its window out of reach, and switches them off on
// OK. Cancel changes nothing.

#include "framework/Dialog_win.h"
#include "framework/RichEditCtrl_win.h"

#include <string>

class CResetKavrinStartDlg : public CDialogEx
{
public:
    CResetKavrinStartDlg() noexcept;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnPaint() override;
    HICON OnQueryDragIcon() override { return m_hIcon; }

private:
    void ShowMessage(const std::wstring& message);

    // What OK switches off, decided from the values read at set-up.
    bool m_bResetSyncOnce = false;
    bool m_bResetExit = false;

    // Shared icons: the system frees them.
    HICON m_hIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
    CRichEditCtrl m_message;
};
