#pragma once
// Where the notification icons sit on the screen, worked out from what the
// shell reports. Pure: the Win32 side gathers the windows and rectangles.

#include <optional>
#include <span>
#include <string>

namespace TrayGeometry
{
// Screen coordinates, y growing downwards; right and bottom are exclusive.
struct Rect
{
    long left = 0;
    long top = 0;
    long right = 0;
    long bottom = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

bool IsEmpty(const Rect& rect) noexcept;

// A window below the task bar window, as the system enumerates them.
struct TaskbarChild
{
    std::wstring className;
    Rect rect;
};

inline constexpr wchar_t kTaskbarClass[] = L"Shell_TrayWnd";
inline constexpr wchar_t kNotifyAreaClass[] = L"TrayNotifyWnd";
inline constexpr wchar_t kClockClass[] = L"TrayClockWClass";

// The notification area inside the task bar window: the last notification
// window seen before the clock, trimmed by the clock. Nothing when the task
// bar window has no area of its own (Wine keeps an empty stand-in).
std::optional<Rect> AreaFromTaskbarWindows(const Rect& taskbar, std::span<const TaskbarChild> children);

// The clock takes the top of a tall area (task bar on a side edge) or the
// right end of a wide one.
Rect TrimByClock(const Rect& area, const Rect& clock) noexcept;

enum class Edge
{
    Left,
    Top,
    Right,
    Bottom,
};

// A guess from the task bar's position alone: near its bottom when it stands
// on a side edge, near its right end otherwise.
Rect AreaFromTaskbarPosition(const Rect& bar, Edge edge) noexcept;

// The last resort: a strip at the bottom right of the work area.
Rect AreaFromWorkArea(const Rect& workArea) noexcept;
} // namespace TrayGeometry
