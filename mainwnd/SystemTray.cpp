#include "mainwnd/SystemTray.h"

#include "app/ProcessGlobals.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "mainwnd/TrayGeometry.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

static_assert(WM_TRAY_NOTIFY == 0x800A);
static_assert(CSystemTray::kIconRecordSize <= sizeof(NOTIFYICONDATAW));
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

// The parent of the main window while it sits in the notification area: a
// window that is never shown, so that the main window loses its task bar
// button. One for the process, made on first need.
class CTrayParkingWnd final : public CWnd
{
public:
    ~CTrayParkingWnd() override { DestroyWindow(); }
};

CTrayParkingWnd& ParkingWindow() noexcept
{
    static CTrayParkingWnd window;
    return window;
}

void SetVisibleStyle(HWND window, bool visible) noexcept
{
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    ::SetWindowLongPtrW(window, GWL_STYLE, visible ? (style | WS_VISIBLE) : (style & ~LONG_PTR{WS_VISIBLE}));
}

TrayGeometry::Rect ToGeometry(const RECT& rect) noexcept
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

RECT ToRect(const TrayGeometry::Rect& rect) noexcept
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

std::optional<TrayGeometry::Edge> ToEdge(UINT edge) noexcept
{
    switch (edge)
    {
    case ABE_LEFT:
        return TrayGeometry::Edge::Left;
    case ABE_TOP:
        return TrayGeometry::Edge::Top;
    case ABE_RIGHT:
        return TrayGeometry::Edge::Right;
    case ABE_BOTTOM:
        return TrayGeometry::Edge::Bottom;
    default:
        return std::nullopt;
    }
}

BOOL CALLBACK CollectTaskbarChild(HWND hwnd, LPARAM lp) noexcept
{
    auto& children = *reinterpret_cast<std::vector<TrayGeometry::TaskbarChild>*>(lp);
    wchar_t name[256]{};
    const int length = ::GetClassNameW(hwnd, name, static_cast<int>(std::size(name)));
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    try
    {
        children.push_back({std::wstring(name, static_cast<std::size_t>(std::max(length, 0))), ToGeometry(rect)});
    }
    catch (...)
    {
        // Out of memory: work with the windows seen so far.
        return FALSE;
    }
    return TRUE;
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
    if (!IsWindow())
        CreateEx(0, L"", WS_POPUP, RECT{}, nullptr);

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
        const UINT command = ::GetMenuItemID(popup, static_cast<int>(m_nDefaultMenuItem));
        if (command != static_cast<UINT>(-1))
            ::PostMessageW(target, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
    return true;
}

void CSystemTray::HideToTray(HWND window) const
{
    if (IsMinimizeAnimationOn())
    {
        RECT from{};
        ::GetWindowRect(window, &from);
        const RECT to = FindTrayArea();
        ::DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
    }
    CTrayParkingWnd& parking = ParkingWindow();
    if (parking.IsWindow() || parking.CreateEx(0, L"", WS_POPUP, RECT{}, nullptr))
        ::SetParent(window, parking.GetSafeHwnd());
    SetVisibleStyle(window, false);
}

void CSystemTray::RestoreFromTray(HWND window) const
{
    if (IsMinimizeAnimationOn())
    {
        RECT to{};
        ::GetWindowRect(window, &to);
        const RECT from = FindTrayArea();
        ::SetParent(window, nullptr);
        ::DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
    }
    else
    {
        ::SetParent(window, nullptr);
    }
    SetVisibleStyle(window, true);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);

    const CTrayParkingWnd& parking = ParkingWindow();
    if (parking.IsWindow())
        ::SetActiveWindow(parking.GetSafeHwnd());
    ::SetActiveWindow(window);
    ::SetForegroundWindow(window);
}

RECT CSystemTray::FindTrayArea()
{
    if (const HWND taskbar = ::FindWindowW(TrayGeometry::kTaskbarClass, nullptr))
    {
        RECT bar{};
        ::GetWindowRect(taskbar, &bar);
        std::vector<TrayGeometry::TaskbarChild> children;
        ::EnumChildWindows(taskbar, CollectTaskbarChild, reinterpret_cast<LPARAM>(&children));
        if (const auto area = TrayGeometry::AreaFromTaskbarWindows(ToGeometry(bar), children))
            return ToRect(*area);
    }

    APPBARDATA taskbarData{};
    taskbarData.cbSize = sizeof taskbarData;
    if (::SHAppBarMessage(ABM_GETTASKBARPOS, &taskbarData))
    {
        if (const auto edge = ToEdge(taskbarData.uEdge))
            return ToRect(TrayGeometry::AreaFromTaskbarPosition(ToGeometry(taskbarData.rc), *edge));
    }

    RECT workArea{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    return ToRect(TrayGeometry::AreaFromWorkArea(ToGeometry(workArea)));
}

LRESULT CSystemTray::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TRAY_NOTIFY)
    {
        OnIconNotify(static_cast<UINT>(wp), static_cast<UINT>(lp));
        return 0;
    }
    const UINT taskbarCreated = ProcessGlobals().uTaskbarCreatedMessage;
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

HWND CSystemTray::GetTarget() const noexcept
{
    return m_hTargetWnd ? m_hTargetWnd : AfxGetMainHwnd();
}
