#include "controls/XGroupBox_win.h"

#include "controls/ControlMath.h"
#include "framework/Handles_win.h"

#include <vssym32.h>

#include <algorithm>

namespace
{
constexpr UINT kTitleFormat = DT_SINGLELINE | DT_LEFT | DT_VCENTER;

ControlMath::Alignment TitleAlignment(DWORD style) noexcept
{
    switch (style & BS_CENTER)
    {
    case BS_CENTER:
        return ControlMath::Alignment::Center;
    case BS_RIGHT:
        return ControlMath::Alignment::Right;
    default:
        return ControlMath::Alignment::Left;
    }
}
} // namespace

// Painted without an off-screen buffer: a buffer would cover the inside of
// the box, where the dialog's other controls are.
CXGroupBox::CXGroupBox() noexcept : CDrawnControl(Painting::Direct), m_pThemeApi(&CUxThemeApi::Process())
{
}

CXGroupBox::~CXGroupBox()
{
    m_theme.Reset();
}

CXGroupBox& CXGroupBox::SetText(const std::wstring& text)
{
    if (m_hWnd)
        ::SetWindowTextW(m_hWnd, text.c_str());
    return *this;
}

CXGroupBox& CXGroupBox::SetBoldTitle(bool bold)
{
    m_font.SetWeight(bold ? FW_BOLD : 0);
    Redraw();
    return *this;
}

CXGroupBox& CXGroupBox::SetThemeAllowed(bool allowed)
{
    m_bThemeAllowed = allowed;
    m_theme.Reset();
    m_bThemeOpened = false;
    Redraw();
    return *this;
}

CXGroupBox& CXGroupBox::SetThemeApi(const CUxThemeApi& api)
{
    m_pThemeApi = &api;
    m_theme.Reset();
    m_bThemeOpened = false;
    Redraw();
    return *this;
}

void CXGroupBox::OpenTheme() noexcept
{
    if (m_bThemeOpened || !m_hWnd)
        return;
    m_bThemeOpened = true;
    if (m_bThemeAllowed)
        m_theme.Open(*m_pThemeApi, m_hWnd, L"BUTTON");
}

bool CXGroupBox::IsThemed() noexcept
{
    OpenTheme();
    return static_cast<bool>(m_theme);
}

CXGroupBox::Layout CXGroupBox::Measure(HDC hdc, const std::wstring& text)
{
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(hdc, &metrics);
    const RECT client = GetClientRect();

    Layout layout{client, {}, {}};
    // The top line of the frame runs through the middle of the title.
    layout.frame.top += metrics.tmHeight / 2;
    if (text.empty())
        return layout;

    RECT measured{};
    ::DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &measured, kTitleFormat | DT_CALCRECT);
    const int indent = std::max(4, static_cast<int>(metrics.tmAveCharWidth));
    const int gap = std::max(2, static_cast<int>(metrics.tmAveCharWidth) / 2);
    const int available = std::max(0, static_cast<int>(client.right - client.left) - 2 * indent);
    const int width = std::min(static_cast<int>(measured.right - measured.left) + 2 * gap, available);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    const int left = client.left + indent + ControlMath::BlockLeft(available, width, TitleAlignment(style));

    layout.title = {left, client.top, left + width, client.top + metrics.tmHeight};
    layout.text = layout.title;
    ::InflateRect(&layout.text, -gap, 0);
    return layout;
}

RECT CXGroupBox::GetTitleRect(HDC hdc)
{
    const CSavedDC saved(hdc);
    SelectOwnFont(hdc);
    return Measure(hdc, GetWindowText()).title;
}

void CXGroupBox::Draw(HDC hdc)
{
    const CSavedDC saved(hdc);
    OpenTheme();
    SelectOwnFont(hdc);

    // Group boxes ask their dialog for the brush behind the title, as statics do.
    HBRUSH parentBrush = DialogBrush(hdc);
    const COLORREF dialogTextColour = ::GetTextColor(hdc);

    const std::wstring text = GetWindowText();
    const Layout layout = Measure(hdc, text);
    const bool enabled = ::IsWindowEnabled(m_hWnd) != FALSE;
    const int state = enabled ? GBS_NORMAL : GBS_DISABLED;

    {
        const CSavedDC clip(hdc);
        if (!::IsRectEmpty(&layout.title))
            ::ExcludeClipRect(hdc, layout.title.left, layout.title.top, layout.title.right, layout.title.bottom);
        RECT frame = layout.frame;
        if (!m_theme || !m_pThemeApi->DrawBackground(m_theme.Get(), hdc, BP_GROUPBOX, state, frame, nullptr))
            ::DrawEdge(hdc, &frame, EDGE_ETCHED, BF_RECT);
    }
    if (text.empty())
        return;

    ::FillRect(hdc, &layout.title, parentBrush);
    COLORREF textColour = enabled ? dialogTextColour : ::GetSysColor(COLOR_GRAYTEXT);
    if (m_theme)
        textColour = m_pThemeApi->GetColor(m_theme.Get(), BP_GROUPBOX, state, TMT_TEXTCOLOR).value_or(textColour);
    ::SetTextColor(hdc, textColour);
    ::SetBkMode(hdc, TRANSPARENT);
    UINT format = kTitleFormat;
    if (::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL)
        format |= DT_HIDEPREFIX;
    RECT textRect = layout.text;
    ::DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &textRect, format | DT_END_ELLIPSIS);
}

void CXGroupBox::Redraw() noexcept
{
    if (!m_hWnd)
        return;
    HWND parent = ::GetParent(m_hWnd);
    if (!parent)
    {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        return;
    }
    TEXTMETRICW metrics{};
    {
        const CWindowDC dc(m_hWnd);
        const CSelectObject font(dc.Get(), GetFont());
        ::GetTextMetricsW(dc.Get(), &metrics);
    }
    RECT strip = GetWindowRect();
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&strip), 2);
    // Twice the title's height also covers an old title that was taller.
    strip.bottom = std::min(strip.bottom, strip.top + 2 * static_cast<LONG>(metrics.tmHeight));
    ::RedrawWindow(parent, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT CXGroupBox::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg)
    {
    case WM_THEMECHANGED:
        m_theme.Reset();
        m_bThemeOpened = false;
        Redraw();
        break;
    case WM_DESTROY:
        m_theme.Reset();
        m_bThemeOpened = false;
        break;
    default:
        break;
    }
    return CDrawnControl::WindowProc(msg, wp, lp);
}
