#include "mainwnd/ExitTimeDlg_win.h"

#include "mainwnd/ExitTime.h"
#include "resources/ExitTimeDlgRes.h"

#include <string>

namespace
{
CharFormat ExplanationFormat(COLORREF colour)
{
    CharFormat format;
    format.bold = true;
    format.italic = true;
    format.face = L"Arial";
    format.color = colour;
    format.mask = CFM_BOLD | CFM_ITALIC | CFM_FACE | CFM_COLOR;
    return format;
}
} // namespace

CExitTimeDlg::CExitTimeDlg() noexcept : CDialogEx(IDD_EXIT_TIME) {}

bool CExitTimeDlg::OnInitDialog()
{
    m_seconds.Attach(m_hWnd, IDC_EXIT_SECONDS);
    m_spin.Attach(m_hWnd, IDC_EXIT_SECONDS_SPIN);
    m_explanation.Attach(m_hWnd, IDC_EXIT_EXPLANATION);

    const std::uint32_t seconds = m_dwTimeToExit / 1000;
    // Runs the change rule, which raises a delay below the minimum.
    m_seconds.SetWindowText(std::to_wstring(seconds));
    m_spin.SetRange(static_cast<int>(ExitTime::kMinSeconds), static_cast<int>(ExitTime::kMaxSpinSeconds));
    m_spin.SetBuddy(m_seconds.GetSafeHwnd());
    // The explanation names the delay the dialog was opened with.
    ShowExplanation(seconds);
    return true;
}

bool CExitTimeDlg::OnCommand(int id, int code, HWND control)
{
    if (id == IDC_EXIT_SECONDS && code == EN_CHANGE)
    {
        OnSecondsChanged();
        return true;
    }
    return CDialogEx::OnCommand(id, code, control);
}

void CExitTimeDlg::OnSecondsChanged()
{
    const ExitTime::SecondsField field = ExitTime::ReadSecondsField(m_seconds.GetWindowText());
    if (field.rewrite)
    {
        // Changes the text again, and with it runs this rule once more;
        // typing goes on at the end.
        const std::wstring text = std::to_wstring(field.seconds);
        m_seconds.SetWindowText(text);
        m_seconds.SendMessage(EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
    }
    m_dwTimeToExit = ExitTime::ToMilliseconds(field.seconds);
    ShowExplanation(field.seconds);
}

void CExitTimeDlg::OnOK()
{
    m_dwTimeToExit = ExitTime::ToMilliseconds(ExitTime::ReadSecondsField(m_seconds.GetWindowText()).seconds);
    EndDialog(IDOK);
}

void CExitTimeDlg::ShowExplanation(std::uint32_t seconds)
{
    const std::wstring text = ExitTime::Explanation(seconds);
    m_explanation.SetText(text);
    const int lead = static_cast<int>(ExitTime::ExplanationLeadLength(text));
    m_explanation.SetSel(0, lead);
    m_explanation.SetSelectionCharFormat(ExplanationFormat(RGB(0, 0, 255)));
    m_explanation.SetSel(lead, -1);
    m_explanation.SetSelectionCharFormat(ExplanationFormat(RGB(255, 0, 0)));
    // The template centres the box's paragraphs.
    m_explanation.SetSel(0, 0);
}
