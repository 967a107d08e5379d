#include "controls/OwnerButton_win.h"

#include "framework/Handles_win.h"

#include <algorithm>
#include <iterator>

namespace
{
CUniqueFont CreateCaptionFont(HDC dc, const OwnerButtonLook& look)
{
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(look.points, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    font.lfWeight = look.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = look.italic ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    ::lstrcpynW(font.lfFaceName, look.face, static_cast<int>(std::size(font.lfFaceName)));
    return CUniqueFont(::CreateFontIndirectW(&font));
}
} // namespace

void DrawOwnerButton(const DRAWITEMSTRUCT& item, const OwnerButtonLook& look)
{
    HDC dc = item.hDC;
    const CSavedDC saved(dc);
    RECT rect = item.rcItem;
    ::SetBkColor(dc, look.fill);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    ::DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if (pressed)
        ::OffsetRect(&rect, 1, 1);

    wchar_t caption[MAX_PATH] = {};
    ::GetWindowTextW(item.hwndItem, caption, static_cast<int>(std::size(caption)));
    const CUniqueFont font = CreateCaptionFont(dc, look);
    const CSelectObject selected(dc, font.Get());
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, look.textBackground);
    ::SetTextColor(dc, look.text);
    ::DrawTextW(dc, caption, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (item.itemState & ODS_FOCUS)
    {
        RECT focus = item.rcItem;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(dc, &focus);
    }
}
