#include "mainwnd/TrayParking_win.h"

#include "framework/Wnd_win.h"
#include "mainwnd/TrayGeometry.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace
{
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

namespace TrayParking
{
void Park(HWND window, bool animate) noexcept
{
    if (animate)
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

void Unpark(HWND window, bool animate) noexcept
{
    if (animate)
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

RECT FindTrayArea() noexcept
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
} // namespace TrayParking
