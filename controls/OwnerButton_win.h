#pragma once
// Drawing of an owner-drawn push button (WM_DRAWITEM): its rectangle filled,
// a sunken edge while it is pressed and a raised one otherwise, and its
// caption centred on one line in the given font and colours.

#include <windows.h>

struct OwnerButtonLook
{
    const wchar_t* face = L"Arial";
    int points = 8;
    bool bold = false;
    bool italic = false;
    COLORREF fill = RGB(240, 240, 240);
    // The colour behind the caption's letters.
    COLORREF textBackground = RGB(240, 240, 240);
    COLORREF text = RGB(0, 0, 0);
};

void DrawOwnerButton(const DRAWITEMSTRUCT& item, const OwnerButtonLook& look);
