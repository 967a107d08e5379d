#include "framework/Wnd.h"

#include "framework/WinApp.h"

#include <commctrl.h>

namespace
{
constexpr wchar_t kOwnClassName[] = L"KavrinFrameworkWnd";
} // namespace

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
    HWND hwnd = ::CreateWindowExW(exStyle, kOwnClassName, title, style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent, menuOrId, AfxGetInstanceHandle(), this);
    return hwnd != nullptr;
}

void CWnd::DestroyWindow() noexcept
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

LRESULT CALLBACK CWnd::OwnClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE)
    {
        auto* created = reinterpret_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
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
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    try
    {
        return wnd->WindowProc(msg, wp, lp);
    }
    catch (...)
    {
        // Nothing may unwind through the system's window procedure.
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

bool CWnd::Attach(HWND parent, int id) noexcept
{
    m_hWnd = ::GetDlgItem(parent, id);
    return m_hWnd != nullptr;
}

HWND CWnd::Detach() noexcept
{
    if (m_bSubclassed && m_hWnd)
        RemoveWindowSubclass(m_hWnd, SubclassProc, 0);
    m_bSubclassed = false;
    HWND hwnd = m_hWnd;
    m_hWnd = nullptr;
    return hwnd;
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
    if (!hwnd || !SetWindowSubclass(hwnd, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this)))
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
    return m_bSubclassed ? DefSubclassProc(m_hWnd, msg, wp, lp) : ::DefWindowProcW(m_hWnd, msg, wp, lp);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self)
{
    auto* wnd = reinterpret_cast<CWnd*>(self);
    if (msg == WM_NCDESTROY)
    {
        RemoveWindowSubclass(hwnd, SubclassProc, 0);
        wnd->m_bSubclassed = false;
        const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
        wnd->m_hWnd = nullptr;
        return result;
    }
    try
    {
        return wnd->WindowProc(msg, wp, lp);
    }
    catch (...)
    {
        // Nothing may unwind through the system's window procedure.
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
}
