#pragma once
// The program's main window: the synchronization window on template 102.

#include "framework/Dialog.h"

class CKavrinDlg : public CDialogEx
{
public:
    CKavrinDlg() noexcept;

protected:
    bool OnInitDialog() override;
};
