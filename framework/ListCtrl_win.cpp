#include "framework/ListCtrl_win.h"

int CListCtrl::InsertColumn(int index, const std::wstring& heading, int format, int width) const
{
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(heading.c_str());
    column.iSubItem = index;
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::InsertItem(int index, const std::wstring& text) const
{
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListCtrl::SetItemText(int index, int subItem, const std::wstring& text) const
{
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != FALSE;
}

std::wstring CListCtrl::GetItemText(int index, int subItem) const
{
    std::wstring text(256, L'\0');
    for (;;)
    {
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto length = static_cast<size_t>(
            SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < text.size())
        {
            text.resize(length);
            return text;
        }
        text.resize(text.size() * 2);
    }
}

bool CListCtrl::DeleteAllItems() const
{
    return SendMessage(LVM_DELETEALLITEMS) != FALSE;
}

int CListCtrl::GetItemCount() const
{
    return static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
}

bool CListCtrl::SetBkColor(COLORREF color) const
{
    return SendMessage(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(color)) != FALSE;
}

void CListCtrl::SetExtendedStyle(DWORD styles) const
{
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
}
