#include "controls/HyperLink_win.h"

#include "framework/Handles_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <utility>

namespace
{
constexpr COLORREF kDefaultNormal = RGB(0, 0, 255);
constexpr COLORREF kDefaultHover = RGB(255, 0, 0);
constexpr COLORREF kDefaultVisited = RGB(128, 0, 128);
// Space between the edge and the content, and between the icon and the text.
constexpr int kMargin = 2;
constexpr int kIconGap = 4;

int SmallIconSize() noexcept
{
    return ::GetSystemMetrics(SM_CXSMICON);
}

CUniqueIcon LoadSmallIcon(HINSTANCE module, UINT id) noexcept
{
    const int size = SmallIconSize();
    return CUniqueIcon(static_cast<HICON>(
        ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}
} // namespace

CHyperLink::CHyperLink()
    : CTextControl(Painting::Buffered), m_colours{kDefaultNormal, kDefaultHover, kDefaultVisited}, m_opener(OpenAsDesktopUser)
{
    m_font.SetUnderline(true);
}

CHyperLink::~CHyperLink()
{
    DestroyToolTip();
}

CHyperLink& CHyperLink::SetTarget(const std::wstring& target)
{
    m_strTarget = target;
    return *this;
}

CHyperLink& CHyperLink::SetToolTip(const std::wstring& text)
{
    m_strToolTip = text;
    UpdateToolTip();
    return *this;
}

CHyperLink& CHyperLink::SetColors(COLORREF normal, COLORREF hover, COLORREF visited)
{
    m_colours = {normal, hover, visited};
    Redraw();
    return *this;
}

CHyperLink& CHyperLink::SetBkColor(COLORREF colour)
{
    m_background = colour;
    Redraw();
    return *this;
}

COLORREF CHyperLink::GetBkColor() const noexcept
{
    return m_background.value_or(::GetSysColor(COLOR_BTNFACE));
}

CHyperLink& CHyperLink::SetIcons(CUniqueIcon normal, CUniqueIcon hover, CUniqueIcon visited)
{
    m_icons[Index(LinkState::Normal)] = std::move(normal);
    m_icons[Index(LinkState::Hover)] = std::move(hover);
    m_icons[Index(LinkState::Visited)] = std::move(visited);
    Redraw();
    return *this;
}

bool CHyperLink::SetIconResources(HINSTANCE module, UINT normal, UINT hover, UINT visited)
{
    CUniqueIcon normalIcon = LoadSmallIcon(module, normal);
    CUniqueIcon hoverIcon = LoadSmallIcon(module, hover);
    CUniqueIcon visitedIcon = LoadSmallIcon(module, visited);
    const bool loaded = normalIcon && hoverIcon && visitedIcon;
    SetIcons(std::move(normalIcon), std::move(hoverIcon), std::move(visitedIcon));
    return loaded;
}

CHyperLink& CHyperLink::SetVisited(bool visited)
{
    m_bVisited = visited;
    Redraw();
    return *this;
}

CHyperLink& CHyperLink::SetLinkOpener(LinkOpener opener)
{
    m_opener = std::move(opener);
    return *this;
}

bool CHyperLink::IsButton() const noexcept
{
    wchar_t className[16] = {};
    ::GetClassNameW(m_hWnd, className, static_cast<int>(std::size(className)));
    return ::CompareStringOrdinal(className, -1, WC_BUTTONW, -1, TRUE) == CSTR_EQUAL;
}

ControlMath::Alignment CHyperLink::ContentAlignment() const noexcept
{
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    if (IsButton())
    {
        // A push button without BS_LEFT or BS_RIGHT centres its content.
        switch (style & BS_CENTER)
        {
        case BS_LEFT:
            return ControlMath::Alignment::Left;
        case BS_RIGHT:
            return ControlMath::Alignment::Right;
        default:
            return ControlMath::Alignment::Center;
        }
    }
    switch (style & SS_TYPEMASK)
    {
    case SS_CENTER:
        return ControlMath::Alignment::Center;
    case SS_RIGHT:
        return ControlMath::Alignment::Right;
    default:
        return ControlMath::Alignment::Left;
    }
}

HICON CHyperLink::IconFor(LinkState state) const noexcept
{
    const CUniqueIcon& icon = m_icons[Index(state)];
    return icon ? icon.Get() : m_icons[Index(LinkState::Normal)].Get();
}

void CHyperLink::Draw(HDC hdc)
{
    const CSavedDC saved(hdc);
    const RECT client = GetClientRect();
    ::SetDCBrushColor(hdc, GetBkColor());
    ::FillRect(hdc, &client, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));

    SelectOwnFont(hdc);
    const std::wstring text = GetWindowText();
    UINT format = DT_SINGLELINE | DT_LEFT | DT_VCENTER;
    const LRESULT uiState = ::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0);
    if (uiState & UISF_HIDEACCEL)
        format |= DT_HIDEPREFIX;

    RECT measured{};
    if (!text.empty())
        ::DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
    const LinkState state = GetState();
    HICON icon = IconFor(state);
    const int height = client.bottom - client.top;
    const int iconSize = icon ? std::min(SmallIconSize(), height) : 0;
    const int iconSpace = icon ? iconSize + (text.empty() ? 0 : kIconGap) : 0;
    const int available = std::max(0, static_cast<int>(client.right - client.left) - 2 * kMargin);
    const int content = iconSpace + static_cast<int>(measured.right - measured.left);
    const int left = client.left + kMargin + ControlMath::BlockLeft(available, content, ContentAlignment());

    if (icon)
        ::DrawIconEx(hdc, left, client.top + (height - iconSize) / 2, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
    if (text.empty())
        return;
    RECT textRect{left + iconSpace, client.top, client.right - kMargin, client.bottom};
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, ::IsWindowEnabled(m_hWnd) ? GetColor(state) : ::GetSysColor(COLOR_GRAYTEXT));
    ::DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &textRect, format | DT_END_ELLIPSIS);

    if (::GetFocus() == m_hWnd && !(uiState & UISF_HIDEFOCUS))
    {
        const int textWidth = measured.right - measured.left;
        const int textHeight = measured.bottom - measured.top;
        const int top = client.top + (height - textHeight) / 2;
        RECT focus{textRect.left - 1, top, std::min(textRect.left + textWidth, textRect.right) + 1, top + textHeight};
        ::DrawFocusRect(hdc, &focus);
    }
}

void CHyperLink::Activate()
{
    m_bVisited = true;
    Redraw();
    if (!m_strTarget.empty() && m_opener)
        m_opener(::GetAncestor(m_hWnd, GA_ROOT), m_strTarget);
    if (HWND parent = ::GetParent(m_hWnd))
    {
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                       reinterpret_cast<LPARAM>(m_hWnd));
    }
}

void CHyperLink::UpdateToolTip()
{
    if (!m_hWnd)
        return;
    if (m_strToolTip.empty())
    {
        DestroyToolTip();
        return;
    }
    if (m_toolTip.IsWindow())
    {
        m_toolTip.UpdateTipText(m_hWnd, m_strToolTip);
        return;
    }
    // A pop-up owned by the link, watching the link's mouse itself.
    if (m_toolTip.Create(m_hWnd, TTS_NOPREFIX) && !m_toolTip.AddTool(m_hWnd, m_strToolTip, true))
        m_toolTip.Destroy();
}

void CHyperLink::DestroyToolTip() noexcept
{
    m_toolTip.Destroy();
}

void CHyperLink::OnMouseMove()
{
    if (m_bHovering)
        return;
    m_bHovering = true;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = m_hWnd;
    ::TrackMouseEvent(&track);
    if (!m_toolTip.IsWindow() && !m_strToolTip.empty())
        UpdateToolTip();
    Redraw();
}

void CHyperLink::OnMouseLeave()
{
    m_bHovering = false;
    Redraw();
}

LRESULT CHyperLink::OnGetDlgCode(WPARAM wp, LPARAM lp)
{
    LRESULT code = DefWindowProc(WM_GETDLGCODE, wp, lp);
    // Enter on a focused link opens it rather than pressing the dialog's default button.
    const auto* message = reinterpret_cast<const MSG*>(lp);
    if (message && (message->message == WM_KEYDOWN || message->message == WM_CHAR) && message->wParam == VK_RETURN)
        code |= DLGC_WANTMESSAGE;
    return code;
}

LRESULT CHyperLink::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg)
    {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Redraw();
        return 0;
    case BM_SETSTATE:
        // No pushed look: the link stays a link.
        return 0;
    case BM_SETSTYLE:
        DefWindowProc(msg, wp, FALSE);
        Redraw();
        return 0;
    case BM_CLICK:
        Activate();
        return 0;
    case WM_GETDLGCODE:
        return OnGetDlgCode(wp, lp);
    case WM_NCHITTEST:
        // Statics let the mouse through to their dialog.
        return HTCLIENT;
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_MOUSEMOVE:
        OnMouseMove();
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (IsButton())
            ::SetFocus(m_hWnd);
        BeginClick();
        return 0;
    case WM_LBUTTONUP:
        if (EndClick(lp))
            Activate();
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_SPACE)
            return 0;
        if (wp == VK_RETURN)
        {
            Activate();
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wp == VK_SPACE)
        {
            Activate();
            return 0;
        }
        break;
    case WM_CHAR:
        if (wp == VK_RETURN || wp == VK_SPACE)
            return 0;
        break;
    case WM_DESTROY:
        DestroyToolTip();
        break;
    default:
        break;
    }
    return CTextControl::WindowProc(msg, wp, lp);
}
