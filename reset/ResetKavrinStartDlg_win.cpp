#include "reset/ResetKavrinStartDlg_win.h"

#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "framework/Handles_win.h"
#include "framework/WinApp_win.h"
#include "reset/MessageStyles.h"
#include "reset/ResetKavrinStartRes.h"
#include "reset/ResetMessage.h"

namespace
{
HICON LoadProgramIcon(int width, int height)
{
    return static_cast<HICON>(::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_RESET_MAINFRAME), IMAGE_ICON,
                                           width, height, LR_SHARED));
}

CharFormat ToCharFormat(const Reset::TextStyle& style)
{
    CharFormat format;
    format.color = RGB(style.color.red, style.color.green, style.color.blue);
    format.bold = style.bold;
    format.italic = style.italic;
    return format;
}
} // namespace

CResetKavrinStartDlg::CResetKavrinStartDlg() noexcept
    : CDialogEx(IDD_RESETKAVRINSTART_DIALOG),
      m_hIcon(LoadProgramIcon(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON))),
      m_hSmallIcon(LoadProgramIcon(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)))
{
}

bool CResetKavrinStartDlg::OnInitDialog()
{
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
    m_message.Attach(m_hWnd, IDC_RESET_MESSAGE);

    CSettingsKey store;
    const ResetSettings read = ReadResetSettings(store);
    const ResetChoice choice = Reset::ChooseReset(read);
    m_bResetSyncOnce = choice.SyncOncePerDay;
    m_bResetExit = choice.ExitAfterSync;
    ShowMessage(Reset::ComposeMessage(read));
    return true;
}

// Puts the message into the box and colours it range by range.
void CResetKavrinStartDlg::ShowMessage(const std::wstring& message)
{
    m_message.SetText(message);
    for (const Reset::StyledRange& range : Reset::PlanMessageStyles(Reset::AsBoxText(message)))
    {
        m_message.SetSel(static_cast<int>(range.start), static_cast<int>(range.end));
        m_message.SetSelectionCharFormat(ToCharFormat(range.style));
    }
    m_message.SetAlignment(PFA_CENTER);
}

void CResetKavrinStartDlg::OnOK()
{
    CSettingsKey store;
    ApplyReset(store, ResetChoice{.SyncOncePerDay = m_bResetSyncOnce, .ExitAfterSync = m_bResetExit});
    EndDialog(IDOK);
}

bool CResetKavrinStartDlg::OnPaint()
{
    return PaintIconWhenMinimized(m_hIcon);
}
