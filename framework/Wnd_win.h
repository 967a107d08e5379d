#pragma once
// A window seen through its handle. Two ways to bind one:
// - Attach only binds: the wrapper talks to the window and never owns it.
// - SubclassWindow takes over: the wrapper's WindowProc sees the window's
//   messages first (and draws it, for the drawing controls) until the
//   wrapper or the window goes.
// A window that CreateEx made belongs to its wrapper, which destroys it.

#include <windows.h>
#include <string>

class CWnd
{
public:
    CWnd() noexcept = default;
    // Destroys the window it created, or gives back a subclassed one.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Binds to an existing window, or to the control `id` of a dialog,
    // dropping whatever the wrapper held before.
    void Attach(HWND hwnd) noexcept;
    bool Attach(HWND parent, int id) noexcept;
    // Unbinds: removes the subclass, if any, and forgets the window.
    HWND Detach() noexcept;
    HWND GetSafeHwnd() const noexcept { return m_hWnd; }
    bool IsWindow() const noexcept { return m_hWnd && ::IsWindow(m_hWnd); }

    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const noexcept
    {
        return ::SendMessageW(m_hWnd, msg, wp, lp);
    }
    bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const noexcept
    {
        return ::PostMessageW(m_hWnd, msg, wp, lp) != FALSE;
    }

    void SetWindowText(const std::wstring& text) const noexcept { ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetWindowText() const;
    HWND GetDlgItem(int id) const noexcept { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const noexcept { return ::GetDlgCtrlID(m_hWnd); }

    bool ShowWindow(int command) const noexcept { return ::ShowWindow(m_hWnd, command) != FALSE; }
    bool IsWindowVisible() const noexcept { return ::IsWindowVisible(m_hWnd) != FALSE; }
    void EnableWindow(bool enable) const noexcept { ::EnableWindow(m_hWnd, enable ? TRUE : FALSE); }
    void Invalidate(bool erase = true) const noexcept { ::InvalidateRect(m_hWnd, nullptr, erase ? TRUE : FALSE); }
    RECT GetClientRect() const noexcept;
    RECT GetWindowRect() const noexcept;

    // Creates a window of the framework's own class whose messages go to
    // WindowProc. The wrapper owns it: DestroyWindow or the destructor ends it.
    bool CreateEx(DWORD exStyle, const wchar_t* title, DWORD style, const RECT& rect, HWND parent,
                  HMENU menuOrId = nullptr) noexcept;
    void DestroyWindow() noexcept;

    // Takes over the window's messages; undone when the window is destroyed
    // or the wrapper detaches. Each wrapper subclasses under its own id, so
    // two wrappers of one window never collide.
    bool SubclassWindow(HWND hwnd) noexcept;
    bool SubclassDlgItem(HWND parent, int id) noexcept { return SubclassWindow(::GetDlgItem(parent, id)); }

protected:
    // For subclassed and own windows: answer a message or hand it to
    // DefWindowProc.
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) noexcept;

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK OwnClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    UINT_PTR SubclassId() const noexcept { return reinterpret_cast<UINT_PTR>(this); }

    bool m_bSubclassed = false;
    bool m_bOwnsWindow = false;
};
