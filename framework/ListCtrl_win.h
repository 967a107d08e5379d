#pragma once
// A list view control in report view, bound to a dialog item.

#include "framework/Wnd_win.h"

#include <commctrl.h>
#include <string>

class CListCtrl : public CWnd
{
public:
    int InsertColumn(int index, const std::wstring& heading, int format, int width) const;
    int InsertItem(int index, const std::wstring& text) const;
    bool SetItemText(int item, int subItem, const std::wstring& text) const;
    std::wstring GetItemText(int item, int subItem) const;
    bool DeleteAllItems() const;
    int GetItemCount() const;
    bool SetBkColor(COLORREF color) const;
    // Adds the LVS_EX_* styles in `styles` to those the list has.
    void SetExtendedStyle(DWORD styles) const;
};
