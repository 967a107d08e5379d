#include "framework/Wnd_win.h"

#include "framework/CallbackGuard_win.h"
#include "framework/Module_win.h"

#include <commctrl.h>

namespace
{
constexpr wchar_t kOwnClassName[] = L"ThinFrameworkWnd";
} // namespace

CWnd::~CWnd()
{
    if (m_bOwnsWindow)
        DestroyWindow();
    else
        Detach();
}

void CWnd::Attach(HWND hwnd) noexcept
{
    Detach();
    m_hWnd = hwnd;
}

bool CWnd::Attach(HWND parent, int id) noexcept
{
    Attach(::GetDlgItem(parent, id));
    return m_hWnd != nullptr;
}

HWND CWnd::Detach() noexcept
{
    if (m_bSubclassed && m_hWnd)
        ::RemoveWindowSubclass(m_hWnd, SubclassProc, SubclassId());
    m_bSubclassed = false;
    m_bOwnsWindow = false;
    HWND hwnd = m_hWnd;
    m_hWnd = nullptr;
    return hwnd;
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* title, DWORD style, const RECT& rect, HWND parent,
                    HMENU menuOrId) noexcept
{
    static const ATOM ownClass = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = OwnClassProc;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kOwnClassName;
        return ::RegisterClassExW(&wc);
    }();
    if (!ownClass)
        return false;
    Detach();
    HWND hwnd = ::CreateWindowExW(exStyle, kOwnClassName, title, style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent, menuOrId, AfxGetInstanceHandle(), this);
    m_bOwnsWindow = hwnd != nullptr;
    return hwnd != nullptr;
}

void CWnd::DestroyWindow() noexcept
{
    HWND hwnd = m_hWnd;
    const bool own = m_bOwnsWindow;
    Detach();
    if (own && hwnd && ::IsWindow(hwnd))
    {
        // The window's last messages must not reach this wrapper, which may
        // be half destroyed already.
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd);
    }
}

LRESULT CALLBACK CWnd::OwnClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE)
    {
        auto* created = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        created->m_hWnd = hwnd;
    }
    auto* wnd = reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!wnd)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY)
    {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        wnd->m_hWnd = nullptr;
        wnd->m_bOwnsWindow = false;
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    if (CallbackGuard([&] { result = wnd->WindowProc(msg, wp, lp); }))
        return result;
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

std::wstring CWnd::GetWindowText() const
{
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

RECT CWnd::GetClientRect() const noexcept
{
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    return rect;
}

RECT CWnd::GetWindowRect() const noexcept
{
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    return rect;
}

bool CWnd::SubclassWindow(HWND hwnd) noexcept
{
    Detach();
    if (!hwnd || !::SetWindowSubclass(hwnd, SubclassProc, SubclassId(), reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_hWnd = hwnd;
    m_bSubclassed = true;
    return true;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProc(msg, wp, lp);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) noexcept
{
    return m_bSubclassed ? ::DefSubclassProc(m_hWnd, msg, wp, lp) : ::DefWindowProcW(m_hWnd, msg, wp, lp);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self)
{
    auto* wnd = reinterpret_cast<CWnd*>(self);
    if (msg == WM_NCDESTROY)
    {
        ::RemoveWindowSubclass(hwnd, SubclassProc, id);
        wnd->m_bSubclassed = false;
        const LRESULT result = ::DefSubclassProc(hwnd, msg, wp, lp);
        wnd->m_hWnd = nullptr;
        return result;
    }
    LRESULT result = 0;
    if (CallbackGuard([&] { result = wnd->WindowProc(msg, wp, lp); }))
        return result;
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}
