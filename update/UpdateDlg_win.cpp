#include "update/UpdateDlg_win.h"

#include "controls/OwnerButton_win.h"
#include "framework/MessageBox_win.h"
#include "resources/UpdateDlgRes.h"
#include "update/SetupDownload_win.h"
#include "update/SetupStart_win.h"
#include "update/TextFormat.h"

namespace
{
constexpr COLORREF kButtonFace = RGB(240, 240, 240);
constexpr COLORREF kOfferFace = RGB(240, 240, 255);

// The looks of the four buttons: mode 1 offers the update; elsewhere
// "Update Now" is hidden and "Email Halvanworks" reads in red.
OwnerButtonLook ButtonLook(int id, UpdateMode mode)
{
    const bool offer = mode == UpdateMode::NewerPublished;
    OwnerButtonLook look{L"Arial", 8, true, true, kButtonFace, kOfferFace, RGB(0, 0, 192)};
    switch (id)
    {
    case IDC_UPDATE_NOW:
        look.points = 10;
        look.textBackground = offer ? kOfferFace : kButtonFace;
        look.text = offer ? RGB(192, 0, 0) : RGB(192, 192, 192);
        break;
    case IDC_DOWNLOAD_ONLY:
        look.textBackground = offer ? kOfferFace : kButtonFace;
        look.text = offer ? RGB(0, 0, 192) : RGB(192, 0, 0);
        break;
    case IDCANCEL:
        look.text = RGB(0, 128, 0);
        break;
    default:
        break;
    }
    return look;
}

bool IsUpdateButton(UINT id)
{
    return id == IDC_UPDATE_NOW || id == IDC_DOWNLOAD_ONLY || id == IDC_VIEW_WEBSITE || id == IDCANCEL;
}

CharFormat SpanFormat(const UpdateHighlight::Style& style)
{
    CharFormat format;
    format.color = style.colour;
    format.bold = style.bold;
    format.italic = style.italic;
    format.underlineType = style.underline ? CFU_UNDERLINE : CFU_UNDERLINENONE;
    format.mask = style.colourOnly ? CFM_COLOR : CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINETYPE;
    return format;
}
} // namespace

CUpdateDlg::CUpdateDlg(UpdateOffer offer, const UpdateEnvironment& environment)
    : CDialogEx(IDD_UPDATE_DIALOG), m_offer(std::move(offer)), m_environment(environment)
{
}

bool CUpdateDlg::OnInitDialog()
{
    m_progress.Attach(m_hWnd, IDC_DOWNLOAD_PROGRESS);
    m_message.Attach(m_hWnd, IDC_UPDATE_MESSAGE);
    m_status.SubclassDlgItem(m_hWnd, IDC_DOWNLOAD_STATUS);

    ::SetDlgItemTextW(m_hWnd, IDC_UPDATE_NOW, FillFormat(L"Update %s Now", {m_offer.productName}).c_str());
    m_status.SetTextColor(RGB(0, 128, 0)).SetText(L"");
    const bool offer = m_offer.mode == UpdateMode::NewerPublished;
    ::EnableWindow(GetDlgItem(IDC_UPDATE_NOW), offer ? TRUE : FALSE);
    ::ShowWindow(GetDlgItem(IDC_UPDATE_NOW), offer ? SW_SHOW : SW_HIDE);
    ::SetDlgItemTextW(m_hWnd, IDC_DOWNLOAD_ONLY, offer ? L"Download Only" : L"Email Halvanworks");

    const std::wstring text = UpdateHighlight::ControlText(m_offer.message);
    if (m_offer.mode == UpdateMode::PublisherNotice || m_offer.mode == UpdateMode::NotObtained)
        HideForNotice();
    ShowMessage(m_offer.message, UpdateHighlight::ForMessage(m_offer.mode, text));
    return true;
}

// Modes 3 and 4 only inform: the cancel button alone remains.
void CUpdateDlg::HideForNotice()
{
    for (const int id : {IDC_UPDATE_NOW, IDC_DOWNLOAD_ONLY, IDC_VIEW_WEBSITE, IDC_DOWNLOAD_PROGRESS})
        ::ShowWindow(GetDlgItem(id), SW_HIDE);
    ::SetDlgItemTextW(m_hWnd, IDCANCEL, L"Close (Esc)");
}

void CUpdateDlg::ShowMessage(const std::wstring& message, const UpdateHighlight::Formatting& formatting)
{
    m_message.SetText(message);
    m_message.SetAlignment(PFA_CENTER);
    CharFormat base;
    base.color = formatting.colour;
    base.heightTwips = formatting.heightTwips;
    base.mask = CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINETYPE | CFM_SIZE;
    m_message.SetAllCharFormat(base);
    for (const UpdateHighlight::Span& span : formatting.spans)
    {
        m_message.SetSel(span.start, span.end);
        m_message.SetSelectionCharFormat(SpanFormat(span.style));
    }
    m_message.SetSel(0, 0);
}

bool CUpdateDlg::OnCommand(int id, int code, HWND control)
{
    switch (id)
    {
    case IDC_UPDATE_NOW:
        OnUpdateNow();
        return true;
    case IDC_DOWNLOAD_ONLY:
        OnDownloadOnly();
        return true;
    case IDC_VIEW_WEBSITE:
        OnViewWebsite();
        return true;
    default:
        return CDialogEx::OnCommand(id, code, control);
    }
}

void CUpdateDlg::OnUpdateNow()
{
    const std::wstring path = m_download.downloaded ? m_download.downloadedFile : DownloadSetup();
    if (!path.empty())
        StartSetup(path);
}

void CUpdateDlg::StartSetup(const std::wstring& path)
{
    switch (StartCheckedSetup(m_hWnd, path, m_environment))
    {
    case SetupStart::Started:
        EndDialog(kSetupStarted);
        break;
    case SetupStart::Refused:
        EndDialog(IDCANCEL);
        break;
    case SetupStart::NotChecked:
        if (!m_download.downloaded)
            KeepDownloaded(path);
        break;
    case SetupStart::NotStarted:
        break;
    }
}

void CUpdateDlg::OnDownloadOnly()
{
    if (m_download.downloaded)
    {
        m_environment.open(m_hWnd, m_download.downloadFolder);
        return;
    }
    const std::wstring path = DownloadSetup();
    if (!path.empty())
        KeepDownloaded(path);
}

void CUpdateDlg::KeepDownloaded(const std::wstring& path)
{
    m_download.downloaded = true;
    m_download.downloadedFile = path;
    ShowDownloadedView();
}

void CUpdateDlg::ShowDownloadedView()
{
    const std::wstring message = UpdateHighlight::DownloadedMessage(m_offer.setupFileName, m_download.downloadFolder);
    ShowMessage(message, UpdateHighlight::ForDownloaded(UpdateHighlight::ControlText(message)));
    ::SetDlgItemTextW(m_hWnd, IDC_DOWNLOAD_ONLY, L"Open Folder");
    ::SetDlgItemTextW(m_hWnd, IDC_UPDATE_NOW, L"Install");
    ::SetDlgItemTextW(m_hWnd, IDCANCEL, L"Update Later (Esc)");
}

void CUpdateDlg::OnViewWebsite()
{
    m_environment.open(m_hWnd, SiteAddress::HomePage(m_environment.sites));
    EndDialog(kWebsiteVisited);
}

std::wstring CUpdateDlg::DownloadSetup()
{
    if (m_offer.mode != UpdateMode::NewerPublished)
    {
        m_environment.open(m_hWnd, SiteAddress::MailTo(m_environment.sites));
        return {};
    }
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    const SetupDownload download = ::DownloadSetup(m_environment.sites, m_offer.setupFileName,
                                                   [this](const DownloadProgress::Step& step) { ShowProgress(step); });
    m_download.downloadFolder = download.folder;
    return download.file;
}

void CUpdateDlg::ShowProgress(const DownloadProgress::Step& step)
{
    m_status.ShowWindow(SW_SHOW);
    m_status.SetText(step.text);
    m_progress.SetPos(step.position);
    // The download holds the thread: paint now.
    ::UpdateWindow(m_status.GetSafeHwnd());
    ::UpdateWindow(m_progress.GetSafeHwnd());
}

bool CUpdateDlg::OnDrawItem(DRAWITEMSTRUCT& item)
{
    if (item.CtlType != ODT_BUTTON || !IsUpdateButton(item.CtlID))
        return false;
    DrawOwnerButton(item, ButtonLook(static_cast<int>(item.CtlID), m_offer.mode));
    return true;
}
