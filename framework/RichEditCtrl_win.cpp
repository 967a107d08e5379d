#include "framework/RichEditCtrl_win.h"

#include <algorithm>

namespace
{
CHARFORMAT2W ToCharFormat(const CharFormat& format) noexcept
{
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = format.mask;
    cf.crTextColor = format.color;
    cf.dwEffects = (format.bold ? CFE_BOLD : 0) | (format.italic ? CFE_ITALIC : 0);
    if (format.mask & CFM_FACE)
    {
        const size_t count = std::min(format.face.size(), std::size(cf.szFaceName) - 1);
        std::copy_n(format.face.c_str(), count, cf.szFaceName);
    }
    cf.yHeight = format.heightTwips;
    cf.bUnderlineType = format.underlineType;
    return cf;
}
} // namespace

int CRichEditCtrl::GetTextLength() const noexcept
{
    GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<int>(SendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
}

void CRichEditCtrl::SetSel(int start, int end) const noexcept
{
    CHARRANGE range{start, end};
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

bool CRichEditCtrl::SetSelectionCharFormat(const CharFormat& format) const noexcept
{
    CHARFORMAT2W cf = ToCharFormat(format);
    return SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)) != 0;
}

bool CRichEditCtrl::SetDefaultCharFormat(const CharFormat& format) const noexcept
{
    CHARFORMAT2W cf = ToCharFormat(format);
    return SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf)) != 0;
}

bool CRichEditCtrl::SetAllCharFormat(const CharFormat& format) const noexcept
{
    CHARFORMAT2W cf = ToCharFormat(format);
    return SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf)) != 0;
}

CHARFORMAT2W CRichEditCtrl::GetSelectionCharFormat() const noexcept
{
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    return cf;
}

void CRichEditCtrl::SetBackgroundColor(COLORREF color) const noexcept
{
    SendMessage(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(color));
}

bool CRichEditCtrl::SetAlignment(WORD alignment) const noexcept
{
    PARAFORMAT2 pf{};
    pf.cbSize = sizeof pf;
    pf.dwMask = PFM_ALIGNMENT;
    pf.wAlignment = alignment;
    SetSel(0, -1);
    const bool set = SendMessage(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf)) != 0;
    SetSel(0, 0);
    return set;
}

int CRichEditCtrl::FindText(const std::wstring& text, int from, DWORD flags) const noexcept
{
    FINDTEXTEXW find{};
    find.chrg.cpMin = from;
    find.chrg.cpMax = -1;
    find.lpstrText = text.c_str();
    return static_cast<int>(SendMessage(EM_FINDTEXTEXW, flags | FR_DOWN, reinterpret_cast<LPARAM>(&find)));
}
