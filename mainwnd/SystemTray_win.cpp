#include "mainwnd/SystemTray_win.h"

#include "framework/Handles_win.h"
#include "framework/WinApp_win.h"
#include "mainwnd/TrayParking_win.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#ifndef _WIN64
// The record as the 32-bit shell of Windows Vista and later knows it.
static_assert(sizeof(NOTIFYICONDATAW) == 956);
#endif
static_assert(sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t) == CSystemTray::kMaxTipLength);
static_assert(sizeof(NOTIFYICONDATAW::szInfo) / sizeof(wchar_t) == CSystemTray::kMaxBalloonLength + 1);

namespace
{
constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

// Copies at most `maxLength` characters, always leaving room for the terminator.
template <std::size_t N>
void CopyCut(wchar_t (&dest)[N], std::wstring_view text, std::size_t maxLength) noexcept
{
    const std::size_t count = std::min({text.size(), maxLength, N - 1});
    std::copy_n(text.data(), count, dest);
    dest[count] = L'\0';
}

// The system's version calls are marked deprecated by the Microsoft compiler
// only; the answers below are what the shell's features depend on.
bool IsShellIconAvailable() noexcept
{
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
    const DWORD version = ::GetVersion();
    return LOBYTE(LOWORD(version)) >= 4;
}

bool AreBalloonsAvailable() noexcept
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
    if (!::GetVersionExW(&info))
        return false;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 5;
}
} // namespace

CSystemTray::CSystemTray() noexcept : m_bBalloonsSupported(AreBalloonsAvailable())
{
}

CSystemTray::~CSystemTray()
{
    RemoveTrayIcon();
    DestroyWindow();
}

bool CSystemTray::CreateTrayIcon(HWND owner, HICON icon)
{
    m_bIconSupported = IsShellIconAvailable();
    if (!m_bIconSupported)
        return false;
    // A second call replaces the icon rather than leaving the first one behind.
    if (!m_bIconRemoved)
        RemoveTrayIcon();
    if (!IsWindow() && CreateEx(0, L"", WS_POPUP, RECT{}, nullptr))
        AllowTaskbarCreated(m_hWnd, TaskbarCreatedMessage());
    m_hTargetWnd = owner;

    m_nid = {};
    m_nid.cbSize = kIconRecordSize;
    m_nid.hWnd = owner ? owner : m_hWnd;
    m_nid.uID = kIconId;
    m_nid.uFlags = kIconFlags;
    m_nid.uCallbackMessage = WM_TRAY_NOTIFY;
    m_nid.hIcon = icon;
    CopyCut(m_nid.szTip, kDefaultTip, kMaxTipLength - 1);

    m_bIconHidden = false;
    m_uSavedFlags = m_nid.uFlags;
    const bool added = AddIcon();
    m_bIconHidden = m_bIconRemoved = m_bReAddPending = !added;
    return added;
}

bool CSystemTray::RemoveTrayIcon() noexcept
{
    m_bReAddPending = false;
    if (!m_bIconSupported || m_bIconRemoved)
        return true;
    m_nid.uFlags = 0;
    if (!NotifyShell(NIM_DELETE))
        return false;
    m_bIconHidden = m_bIconRemoved = true;
    return true;
}

void CSystemTray::SetTipText(const std::wstring& text) noexcept
{
    if (!m_bIconSupported)
        return;
    m_nid.uFlags = NIF_TIP;
    CopyCut(m_nid.szTip, text, kMaxTipLength - 1);
    if (!m_bIconHidden)
        NotifyShell(NIM_MODIFY);
}

void CSystemTray::ShowSyncBalloon(const std::wstring& text) noexcept
{
    // Before the icon was made there is no record to send.
    if (!m_bBalloonsSupported || m_nid.cbSize == 0)
        return;
    m_nid.uFlags = NIF_INFO;
    CopyCut(m_nid.szInfo, text, kMaxBalloonLength);
    CopyCut(m_nid.szInfoTitle, kBalloonTitle, std::size(m_nid.szInfoTitle) - 1);
    m_nid.dwInfoFlags = NIIF_NONE;
    m_nid.uTimeout = kBalloonTimeout;
    NotifyShell(NIM_MODIFY);
    // Later updates of the icon must not bring the balloon back.
    m_nid.szInfo[0] = L'\0';
}

bool CSystemTray::OnIconNotify(UINT id, UINT mouseMessage)
{
    if (id != kIconId)
        return false;
    const HWND target = GetTarget();
    if (!target)
        return false;

    if (mouseMessage == WM_RBUTTONUP)
    {
        const CUniqueMenu menu(::LoadMenuW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(kIconId)));
        const HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
        if (!popup)
            return false;
        POINT cursor{};
        ::GetCursorPos(&cursor);
        // Unless the target is in the foreground, the menu does not close
        // when the user clicks elsewhere...
        ::SetForegroundWindow(target);
        ::TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, target, nullptr);
        // ...and a message right after it keeps the next right click from
        // closing the next menu at once.
        ::PostMessageW(target, WM_NULL, 0, 0);
    }
    else if (mouseMessage == WM_LBUTTONDBLCLK)
    {
        ::SetForegroundWindow(target);
        const CUniqueMenu menu(::LoadMenuW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(kIconId)));
        const HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
        if (!popup)
            return false;
        const UINT command = ::GetMenuItemID(popup, 0);
        if (command != static_cast<UINT>(-1))
            ::PostMessageW(target, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
    return true;
}

void CSystemTray::HideToTray(HWND window) const
{
    TrayParking::Park(window, IsMinimizeAnimationOn());
}

void CSystemTray::RestoreFromTray(HWND window) const
{
    TrayParking::Unpark(window, IsMinimizeAnimationOn());
}

RECT CSystemTray::FindTrayArea()
{
    return TrayParking::FindTrayArea();
}

LRESULT CSystemTray::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TRAY_NOTIFY)
    {
        OnIconNotify(static_cast<UINT>(wp), static_cast<UINT>(lp));
        return 0;
    }
    const UINT taskbarCreated = TaskbarCreatedMessage();
    if (taskbarCreated != 0 && msg == taskbarCreated)
    {
        OnTaskbarCreated();
        return 0;
    }
    if (msg == WM_SETTINGCHANGE)
    {
        const LRESULT result = DefWindowProc(msg, wp, lp);
        if (wp == SPI_SETWORKAREA)
            OnWorkAreaChanged();
        return result;
    }
    return DefWindowProc(msg, wp, lp);
}

bool CSystemTray::NotifyShell(DWORD message) noexcept
{
    return ::Shell_NotifyIconW(message, &m_nid) != FALSE;
}

bool CSystemTray::IsMinimizeAnimationOn() const noexcept
{
    ANIMATIONINFO info{};
    info.cbSize = sizeof info;
    return ::SystemParametersInfoW(SPI_GETANIMATION, sizeof info, &info, 0) && info.iMinAnimate != 0;
}

// The program runs elevated, and the system's privilege isolation keeps
// messages of a less privileged Explorer away from it unless the window
// lets them in; without this the icon would never come back after Explorer
// restarts. The filter call exists from Windows 7 on.
bool CSystemTray::AllowTaskbarCreated(HWND window, UINT message) noexcept
{
    using ChangeFilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const auto change =
        user32 ? reinterpret_cast<ChangeFilterFn>(
                     reinterpret_cast<void (*)()>(::GetProcAddress(user32, "ChangeWindowMessageFilterEx")))
               : nullptr;
    return change && message != 0 && change(window, message, MSGFLT_ALLOW, nullptr) != FALSE;
}

bool CSystemTray::AddIcon() noexcept
{
    if (NotifyShell(NIM_ADD))
        return true;
    // The shell refuses to add an icon that it still shows: bring that one
    // up to date instead.
    return NotifyShell(NIM_MODIFY);
}

void CSystemTray::ReAddIcon() noexcept
{
    m_nid.uFlags = m_uSavedFlags;
    m_bIconHidden = m_bReAddPending = !AddIcon();
}

void CSystemTray::OnTaskbarCreated() noexcept
{
    m_bReAddPending = true;
    if (!m_bIconHidden)
        ReAddIcon();
}

void CSystemTray::OnWorkAreaChanged() noexcept
{
    m_bReAddPending = !m_bIconHidden;
    if (!m_bIconHidden)
        ReAddIcon();
}

UINT CSystemTray::TaskbarCreatedMessage() noexcept
{
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

HWND CSystemTray::GetTarget() const noexcept
{
    return m_hTargetWnd ? m_hTargetWnd : AfxGetMainHwnd();
}
