// How the main window draws: the owner-drawn buttons, the coloured result
// rows and the icon of the minimised window.

#include "mainwnd/KavrinDlg_win.h"

#include "framework/Handles_win.h"
#include "mainwnd/ButtonFaces.h"
#include "mainwnd/SyncReport.h"

#include <commctrl.h>

#include <iterator>

namespace
{
COLORREF ToColorRef(const SyncReport::Rgb& rgb)
{
    return RGB(rgb.red, rgb.green, rgb.blue);
}

CUniqueFont CreateButtonFont(HDC dc, const ButtonFace& face)
{
    const FontDescription font = ParseFontDescription(face.font);
    LOGFONTW logFont{};
    logFont.lfHeight = -::MulDiv(face.points, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = font.italic ? TRUE : FALSE;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(logFont.lfFaceName, font.face.c_str(), LF_FACESIZE);
    return CUniqueFont(::CreateFontIndirectW(&logFont));
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color)
{
    ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// A raised frame: white top and left, black bottom and right.
void DrawButtonFrame(HDC dc, const RECT& rect)
{
    FillSolid(dc, {rect.left, rect.top, rect.right - 1, rect.top + 1}, RGB(255, 255, 255));
    FillSolid(dc, {rect.left, rect.top, rect.left + 1, rect.bottom - 1}, RGB(255, 255, 255));
    FillSolid(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, RGB(0, 0, 0));
    FillSolid(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, RGB(0, 0, 0));
}
} // namespace

void CKavrinDlg::SetUpResultsList()
{
    const int width = m_results.GetClientRect().right;
    m_results.InsertColumn(0, L"", LVCFMT_LEFT, 2 * width / 5);
    m_results.InsertColumn(1, L"", LVCFMT_LEFT, 3 * width / 5 - 7);
    m_results.SetBkColor(ToColorRef(SyncReport::kResultsBackground));
}

LRESULT CKavrinDlg::OnResultsCustomDraw(NMLVCUSTOMDRAW& draw) const
{
    switch (draw.nmcd.dwDrawStage)
    {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
    {
        const auto row = static_cast<int>(draw.nmcd.dwItemSpec);
        if (const auto color = SyncReport::RowTextColor(m_results.GetItemText(row, 0)))
            draw.clrText = ToColorRef(*color);
        draw.clrTextBk = ToColorRef(SyncReport::kResultsBackground);
        return CDRF_NEWFONT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

bool CKavrinDlg::OnDrawItem(DRAWITEMSTRUCT& item)
{
    const ButtonFace* face = item.CtlType == ODT_BUTTON ? FindButtonFace(static_cast<int>(item.CtlID)) : nullptr;
    if (!face)
        return false;
    HDC dc = item.hDC;
    const CSavedDC saved(dc);
    RECT rect = item.rcItem;
    FillSolid(dc, rect, face->background);
    DrawButtonFrame(dc, rect);
    if (item.itemState & ODS_SELECTED)
        ::OffsetRect(&rect, 1, 1);

    ::SetTextColor(dc, face->text);
    ::SetBkMode(dc, TRANSPARENT);
    CUniqueFont font = CreateButtonFont(dc, *face);
    const CSelectObject selected(dc, font.Get());
    wchar_t text[128] = {};
    ::GetWindowTextW(item.hwndItem, text, static_cast<int>(std::size(text)));
    ::DrawTextW(dc, text, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (item.itemState & ODS_FOCUS)
    {
        RECT focus = item.rcItem;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(dc, &focus);
    }
    return true;
}

bool CKavrinDlg::OnPaint()
{
    if (!::IsIconic(m_hWnd))
        return false;
    const CPaintDC paint(m_hWnd);
    const RECT client = GetClientRect();
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(paint.Get(), x, y, m_hIcon);
    return true;
}
