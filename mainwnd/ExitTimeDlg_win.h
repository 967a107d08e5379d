#pragma once
// "Set the time of exit after sync": the number of seconds the program
// stays running after a synchronisation, at least 30. The caller sets
// m_dwTimeToExit in milliseconds, runs the dialog and, after OK, reads the
// new delay back from it.

#include "framework/Dialog_win.h"
#include "framework/RichEditCtrl_win.h"
#include "framework/SpinButtonCtrl_win.h"

#include <cstdint>

class CExitTimeDlg : public CDialogEx
{
public:
    CExitTimeDlg() noexcept;

    // Milliseconds; once the dialog has read its field, a whole number of
    // seconds of at least 30.
    std::uint32_t m_dwTimeToExit = 0;

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    // Every change of the field's text, typed, stepped or set from here.
    void OnSecondsChanged();
    void ShowExplanation(std::uint32_t seconds);

    CWnd m_seconds;
    CSpinButtonCtrl m_spin;
    CRichEditCtrl m_explanation;
};
