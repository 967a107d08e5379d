#include "controls/Label_win.h"

#include "controls/ControlMath.h"
#include "framework/Handles_win.h"

#include <utility>
#include <vector>

namespace
{
ControlMath::Rgb ToRgb(COLORREF colour) noexcept
{
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

void FillSolid(HDC hdc, const RECT& rect, COLORREF colour) noexcept
{
    // The DC's own brush: nothing to create or delete once a second.
    ::SetDCBrushColor(hdc, colour);
    ::FillRect(hdc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

// Text is kept this far from a coloured edge or a border.
constexpr int kTextMargin = 2;
} // namespace

CLabel::CLabel() : CTextControl(Painting::Buffered), m_opener(OpenAsDesktopUser)
{
}

CLabel& CLabel::SetText(const std::wstring& text)
{
    if (m_hWnd)
        ::SetWindowTextW(m_hWnd, text.c_str());
    return *this;
}

CLabel& CLabel::SetTextColor(COLORREF colour)
{
    m_textColour = colour;
    Redraw();
    return *this;
}

CLabel& CLabel::SetBkColor(COLORREF colour)
{
    m_background = Background::Solid;
    m_crBackground = colour;
    Redraw();
    return *this;
}

CLabel& CLabel::SetGradientColors(COLORREF from, COLORREF to)
{
    m_background = Background::Gradient;
    m_crBackground = from;
    m_crGradientEnd = to;
    Redraw();
    return *this;
}

CLabel& CLabel::SetParentBackground()
{
    m_background = Background::Parent;
    Redraw();
    return *this;
}

CLabel& CLabel::SetBorder(bool border)
{
    m_bBorder = border;
    Redraw();
    return *this;
}

CLabel& CLabel::SetLink(const std::wstring& target)
{
    m_strLink = target;
    Redraw();
    return *this;
}

CLabel& CLabel::SetLinkOpener(LinkOpener opener)
{
    m_opener = std::move(opener);
    return *this;
}

void CLabel::Draw(HDC hdc)
{
    const CSavedDC saved(hdc);
    const RECT client = GetClientRect();

    // Like any static, ask the dialog for its background brush and text
    // colour; they serve when the owner has not chosen others.
    if (!::GetParent(m_hWnd))
        ::SetTextColor(hdc, ::GetSysColor(COLOR_WINDOWTEXT));
    HBRUSH parentBrush = DialogBrush(hdc);
    const COLORREF dialogTextColour = ::GetTextColor(hdc);

    FillBackground(hdc, client, parentBrush);

    RECT textRect = client;
    if (m_bBorder)
    {
        ::FrameRect(hdc, &client, ::GetSysColorBrush(COLOR_WINDOWFRAME));
        ::InflateRect(&textRect, -1, -1);
    }
    if (m_bBorder || m_background != Background::Parent)
        ::InflateRect(&textRect, -kTextMargin, 0);

    const COLORREF textColour =
        ::IsWindowEnabled(m_hWnd) ? m_textColour.value_or(dialogTextColour) : ::GetSysColor(COLOR_GRAYTEXT);
    DrawLabelText(hdc, textRect, textColour);
}

void CLabel::FillBackground(HDC hdc, const RECT& rect, HBRUSH parentBrush) const
{
    switch (m_background)
    {
    case Background::Parent:
        ::FillRect(hdc, &rect, parentBrush);
        break;
    case Background::Solid:
        FillSolid(hdc, rect, m_crBackground);
        break;
    case Background::Gradient:
        for (const auto& band : ControlMath::GradientBands(rect.right - rect.left, ToRgb(m_crBackground),
                                                           ToRgb(m_crGradientEnd)))
        {
            const RECT stripe{rect.left + band.left, rect.top, rect.left + band.right, rect.bottom};
            FillSolid(hdc, stripe, RGB(band.colour.red, band.colour.green, band.colour.blue));
        }
        break;
    }
}

UINT CLabel::TextFormat() const noexcept
{
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    UINT format = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK)
    {
    case SS_CENTER:
        format |= DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format |= DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_LEFTNOWORDWRAP:
        format |= DT_LEFT;
        break;
    case SS_SIMPLE:
        format |= DT_LEFT | DT_SINGLELINE;
        break;
    default:
        format |= DT_LEFT | DT_WORDBREAK;
        break;
    }
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    else if (::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL)
        format |= DT_HIDEPREFIX;
    switch (style & SS_ELLIPSISMASK)
    {
    case SS_ENDELLIPSIS:
        format |= DT_END_ELLIPSIS;
        break;
    case SS_PATHELLIPSIS:
        format |= DT_PATH_ELLIPSIS;
        break;
    case SS_WORDELLIPSIS:
        format |= DT_WORD_ELLIPSIS;
        break;
    default:
        break;
    }
    if (style & SS_EDITCONTROL)
        format |= DT_EDITCONTROL;
    if ((format & DT_SINGLELINE) && (style & SS_CENTERIMAGE))
        format |= DT_VCENTER;
    return format;
}

void CLabel::DrawLabelText(HDC hdc, RECT rect, COLORREF colour)
{
    std::wstring text = GetWindowText();
    if (text.empty())
        return;
    SelectOwnFont(hdc);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, colour);

    UINT format = TextFormat();
    DRAWTEXTPARAMS tabs{};
    tabs.cbSize = sizeof tabs;
    tabs.iTabLength = TabStop(hdc, text);
    if (tabs.iTabLength > 0)
        format |= DT_TABSTOP;
    const int length = static_cast<int>(text.size());
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    if (!(format & DT_SINGLELINE) && (style & SS_CENTERIMAGE))
    {
        // DT_VCENTER works on single lines only: measure the block and centre it.
        RECT measured = rect;
        ::DrawTextExW(hdc, text.data(), length, &measured, format | DT_CALCRECT, &tabs);
        const int spare = (rect.bottom - rect.top) - (measured.bottom - measured.top);
        if (spare > 0)
            rect.top += spare / 2;
    }
    ::DrawTextExW(hdc, text.data(), length, &rect, format, &tabs);
}

int CLabel::TabStop(HDC hdc, const std::wstring& text) const
{
    // Tab stops just past the widest text before a tab, so that "Name:\tvalue"
    // lines form two columns and leave the values as much room as they can.
    const auto pieces = ControlMath::TextBeforeTabs(text);
    if (pieces.empty())
        return 0;
    std::vector<int> widths;
    widths.reserve(pieces.size());
    for (const auto piece : pieces)
    {
        SIZE size{};
        ::GetTextExtentPoint32W(hdc, piece.data(), static_cast<int>(piece.size()), &size);
        widths.push_back(size.cx);
    }
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(hdc, &metrics);
    return ControlMath::TabStopInAverageChars(widths, metrics.tmAveCharWidth);
}

LRESULT CLabel::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg)
    {
    case WM_SIZE:
    case WM_STYLECHANGED:
        Redraw();
        break;
    case WM_NCHITTEST:
        // A static lets the mouse through to its dialog; a link must not.
        if (!m_strLink.empty())
            return HTCLIENT;
        break;
    case WM_SETCURSOR:
        if (m_strLink.empty())
            break;
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_LBUTTONDOWN:
        if (!m_strLink.empty())
            BeginClick();
        break;
    case WM_LBUTTONUP:
        if (EndClick(lp) && !m_strLink.empty() && m_opener)
            m_opener(::GetAncestor(m_hWnd, GA_ROOT), m_strLink);
        break;
    default:
        break;
    }
    return CTextControl::WindowProc(msg, wp, lp);
}
