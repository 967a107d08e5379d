#include "mainwnd/KavrinDlg.h"

#include "resources/resource.h"

CKavrinDlg::CKavrinDlg() noexcept : CDialogEx(IDD_KAVRIN_DIALOG) {}

bool CKavrinDlg::OnInitDialog()
{
    return true;
}
