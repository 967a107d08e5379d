// How the main window draws: the owner-drawn buttons, the coloured result
// rows and the icon of the minimised window.

#include "mainwnd/KavrinDlg_win.h"

#include "controls/OwnerButton_win.h"
#include "mainwnd/ButtonFaces.h"
#include "mainwnd/SyncReport.h"

#include <commctrl.h>

namespace
{
COLORREF ToColorRef(const SyncReport::Rgb& rgb)
{
    return RGB(rgb.red, rgb.green, rgb.blue);
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
    const FontDescription font = ParseFontDescription(face->font);
    OwnerButtonLook look;
    look.face = font.face.c_str();
    look.points = face->points;
    look.bold = font.bold;
    look.italic = font.italic;
    look.fill = look.textBackground = face->background;
    look.text = face->text;
    DrawOwnerButton(item, look);
    return true;
}

bool CKavrinDlg::OnPaint()
{
    return PaintIconWhenMinimized(m_hIcon);
}
