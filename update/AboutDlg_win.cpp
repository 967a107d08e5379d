#include "update/AboutDlg_win.h"

#include "framework/LocalTime_win.h"
#include "framework/MessageBox_win.h"
#include "framework/WinApp_win.h"
#include "resources/AboutDlgRes.h"
#include "update/FileVersionInfo_win.h"
#include "update/TextFormat.h"
#include "update/UpdateCheck.h"
#include "update/UpdateHighlight.h"

#include <ctime>

namespace
{
// The day the program file was last written, in local time; time 0 when
// the file cannot be read.
std::wstring BuildDate(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const std::int64_t when =
        ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ? UnixSeconds(data.ftLastWriteTime) : 0;
    const std::optional<std::tm> local = ToLocalTime(when);
    return local ? UpdateCheck::LongDate(*local) : std::wstring();
}

CharFormat Font(const wchar_t* face, COLORREF colour, LONG heightTwips, BYTE underlineType)
{
    CharFormat format;
    format.bold = true;
    format.face = face;
    format.color = colour;
    format.heightTwips = heightTwips;
    format.underlineType = underlineType;
    format.mask = CFM_BOLD | CFM_ITALIC | CFM_FACE | CFM_COLOR | CFM_SIZE | CFM_UNDERLINETYPE;
    return format;
}
} // namespace

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX), m_sites(DefaultMakerSites()) {}

bool CAboutDlg::OnInitDialog()
{
    m_copyright.SubclassDlgItem(m_hWnd, IDC_COPYRIGHT);
    m_contact.SubclassDlgItem(m_hWnd, IDC_CONTACT);
    m_email.SubclassDlgItem(m_hWnd, IDC_EMAIL_LINK);
    m_web.SubclassDlgItem(m_hWnd, IDC_WEB_LINK);
    m_header.Attach(m_hWnd, IDC_ABOUT_HEADER);
    m_description.Attach(m_hWnd, IDC_ABOUT_DESCRIPTION);

    const std::wstring path = RunningModulePath();
    CFileVersionInfo info;
    info.ReadFromFile(path);
    const std::wstring version = UnsignedVersionText(info.GetFileVersion());
    ShowHeader(FillFormat(L"%s\r\nVersion %s\r\n%s", {info.GetProductName(), version, BuildDate(path)}));
    ShowDescription(info.GetFileDescription());
    StyleLabels(info.GetLegalCopyright());
    StyleLinks();
    return true;
}

// Three lines: the product, its version and the build date, each its own size.
void CAboutDlg::ShowHeader(const std::wstring& text)
{
    m_header.SetText(text);
    m_header.SetBackgroundColor(RGB(240, 240, 255));
    m_header.SetAllCharFormat(Font(L"Arial", RGB(226, 130, 18), 320, CFU_UNDERLINEDOUBLE));
    // The control keeps each line break as one character.
    const std::wstring shown = UpdateHighlight::ControlText(text);
    const std::size_t first = shown.find(L'\r');
    const std::size_t second = first == std::wstring::npos ? first : shown.find(L'\r', first + 1);
    if (second == std::wstring::npos)
        return;
    m_header.SetSel(static_cast<int>(first), static_cast<int>(second));
    m_header.SetSelectionCharFormat(Font(L"Arial", RGB(242, 87, 43), 250, CFU_UNDERLINENONE));
    m_header.SetSel(static_cast<int>(second), static_cast<int>(shown.size()));
    m_header.SetSelectionCharFormat(Font(L"Times New Roman", RGB(0, 0, 192), 175, CFU_UNDERLINENONE));
    m_header.SetSel(0, 0);
}

void CAboutDlg::ShowDescription(const std::wstring& text)
{
    m_description.SetText(text);
    m_description.SetBackgroundColor(RGB(203, 234, 254));
    m_description.SetAllCharFormat(Font(L"Times New Roman", RGB(0, 0, 255), 200, CFU_UNDERLINENONE));
}

void CAboutDlg::StyleLabels(const std::wstring& copyright)
{
    m_contact.SetText(LoadResourceString(IDS_MAKER_CONTACT));
    m_contact.SetGradientColors(RGB(192, 0, 0), RGB(0, 128, 128)).SetTextColor(RGB(255, 255, 255)).SetFontBold(true);
    m_copyright.SetTextColor(RGB(255, 0, 0)).SetFontBold(true).SetBkColor(RGB(250, 239, 161));
    m_copyright.SetText(copyright);
}

void CAboutDlg::StyleLinks()
{
    const std::wstring web = SiteAddress::HomePage(m_sites);
    m_web.SetWindowText(web);
    m_web.SetTarget(web).SetToolTip(web).SetColors(RGB(0, 0, 255), RGB(0, 128, 0), RGB(128, 0, 0));
    m_web.SetFontName(L"Arial").SetFontWeight(500);
    m_web.SetIconResource(AfxGetInstanceHandle(), IDI_WEB_LINK);

    const std::wstring mail = SiteAddress::MailTo(m_sites);
    m_email.SetWindowText(m_sites.supportEmail);
    m_email.SetTarget(mail).SetToolTip(mail).SetColors(RGB(0, 0, 255), RGB(0, 0, 0), RGB(0, 128, 0));
    m_email.SetFontName(L"Times New Roman").SetFontWeight(400);
    m_email.SetIconResource(AfxGetInstanceHandle(), IDI_EMAIL_LINK);
}

bool CAboutDlg::OnCommand(int id, int code, HWND control)
{
    if (id == IDC_CHECK_FOR_UPDATE)
    {
        OnCheckForUpdate();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CAboutDlg::OnCheckForUpdate()
{
    switch (CheckForNewerVersion(m_hWnd, {true, false, L"Kavrin"}))
    {
    case UpdateOutcome::SetupStarted:
        m_bSetupStarted = true;
        EndDialog(IDCANCEL);
        break;
    case UpdateOutcome::ProductPageWanted:
        OpenProductPage(m_hWnd);
        break;
    case UpdateOutcome::Nothing:
        break;
    }
}
