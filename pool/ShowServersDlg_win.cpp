#include "pool/ShowServersDlg_win.h"

#include "pool/PoolServerTable.h"
#include "resources/ShowServersDlgRes.h"

#include <commctrl.h>

#include <utility>

namespace
{
// The English start page of the NTP Pool Project, shown and opened by the link.
constexpr wchar_t kPoolProjectPage[] = L"https://www.ntppool.org/en/";

// Fixed widths of the country and count columns; the server column takes
// the rest of the list's width, less room for the vertical scroll bar.
constexpr int kCountryWidth = 115;
constexpr int kCountWidth = 50;
constexpr int kServerWidthReserve = 185;

std::wstring HeadingText(std::size_t rows)
{
    return L"There are " + std::to_wstring(rows) +
           L" Pool Servers listed as part of the NTP Pool Project. Click the one you wish to use or enter another NTP "
           L"time server in the edit control.";
}
} // namespace

CShowServersDlg::CShowServersDlg() : CDialog(IDD_SHOW_SERVERS), m_opener(OpenAsDesktopUser) {}

void CShowServersDlg::SetLinkOpener(LinkOpener opener)
{
    m_opener = std::move(opener);
    m_link.SetLinkOpener(m_opener);
}

bool CShowServersDlg::OnInitDialog()
{
    m_heading.SubclassDlgItem(m_hWnd, IDC_POOL_HEADING);
    m_linkNote.SubclassDlgItem(m_hWnd, IDC_POOL_LINK_NOTE);
    m_link.SubclassDlgItem(m_hWnd, IDC_POOL_LINK);
    m_list.Attach(m_hWnd, IDC_POOL_LIST);
    m_serverField.Attach(m_hWnd, IDC_POOL_SERVER);
    m_regionField.Attach(m_hWnd, IDC_POOL_REGION);

    AddColumns();
    StyleLabels();
    FillList();
    m_serverField.SetWindowText(m_strServer);
    m_regionField.SetWindowText(FindPoolRegion(m_strServer));
    return true;
}

void CShowServersDlg::AddColumns()
{
    const int width = m_list.GetClientRect().right;
    m_list.InsertColumn(0, L"Country", LVCFMT_LEFT, kCountryWidth);
    m_list.InsertColumn(1, L"NTP Pool Server", LVCFMT_LEFT, width - kServerWidthReserve);
    m_list.InsertColumn(2, L"Count", LVCFMT_LEFT, kCountWidth);
    // A click anywhere on a row picks it, not only on the country.
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
}

void CShowServersDlg::StyleLabels()
{
    m_heading.SetTextColor(RGB(0, 0, 255)).SetGradientColors(RGB(128, 255, 0), RGB(255, 255, 255)).SetFontBold(true);
    m_heading.SetText(HeadingText(PoolServerTable.size()));
    m_linkNote.SetText(L"The current and most complete list of countries participating in the NTP pool project is "
                       L"available by clicking on the link below.");
    m_link.SetText(kPoolProjectPage);
    m_link.SetLink(kPoolProjectPage).SetLinkOpener(m_opener);
    m_link.SetTextColor(RGB(0, 0, 255)).SetFontUnderline(true);
}

void CShowServersDlg::FillList()
{
    int row = 0;
    for (const PoolServerEntry& entry : PoolServerTable)
    {
        m_list.InsertItem(row, std::wstring(entry.country));
        m_list.SetItemText(row, 1, std::wstring(entry.server));
        m_list.SetItemText(row, 2, std::wstring(entry.count));
        ++row;
    }
}

bool CShowServersDlg::OnNotify(NMHDR& header, LRESULT&)
{
    if (header.idFrom != IDC_POOL_LIST || header.code != NM_CLICK)
        return false;
    OnRowClicked(reinterpret_cast<NMITEMACTIVATE&>(header).iItem);
    return true;
}

// A click that hits no row (index -1) leaves both fields as they are.
void CShowServersDlg::OnRowClicked(int row)
{
    if (row < 0 || row >= m_list.GetItemCount())
        return;
    m_serverField.SetWindowText(m_list.GetItemText(row, 1));
    m_regionField.SetWindowText(m_list.GetItemText(row, 0));
}

void CShowServersDlg::OnOK()
{
    m_strServer = m_serverField.GetWindowText();
    m_strRegion = m_regionField.GetWindowText();
    EndDialog(IDOK);
}
