#pragma once
// The reset utility's application object: prepares the rich-edit and common
// controls, then runs the one dialog modally; the program ends with it.

#include "framework/Handles_win.h"
#include "framework/WinApp_win.h"

class CResetKavrinStartApp : public CWinApp
{
public:
    CResetKavrinStartApp() noexcept : CWinApp(L"ResetKavrinStart") {}

    bool InitInstance() override;

private:
    // Rich edit 2.0 for the message box, kept loaded for the run.
    CUniqueModule m_richEdit;
};
