#include "mainwnd/TrayGeometry.h"

namespace TrayGeometry
{
namespace
{
// A clock whose bottom lies this far above the area's bottom is stacked on
// top of the icons rather than beside them.
constexpr long kClockStackMargin = 5;

constexpr long kSideBarTopOffset = 100;
constexpr long kSideBarBottomOffset = 16;
constexpr long kWideBarLeftOffset = 100;
constexpr long kWideBarRightOffset = 16;

constexpr long kFallbackWidth = 150;
constexpr long kFallbackHeight = 30;
} // namespace

bool IsEmpty(const Rect& rect) noexcept
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

std::optional<Rect> AreaFromTaskbarWindows(const Rect& taskbar, std::span<const TaskbarChild> children)
{
    if (IsEmpty(taskbar))
        return std::nullopt;
    Rect area = taskbar;
    for (const TaskbarChild& child : children)
    {
        if (child.className == kNotifyAreaClass)
            area = child.rect;
        else if (child.className == kClockClass)
            return TrimByClock(area, child.rect);
    }
    return area;
}

Rect TrimByClock(const Rect& area, const Rect& clock) noexcept
{
    Rect trimmed = area;
    if (clock.bottom < area.bottom - kClockStackMargin)
        trimmed.top = clock.bottom;
    else
        trimmed.right = clock.left;
    return trimmed;
}

Rect AreaFromTaskbarPosition(const Rect& bar, Edge edge) noexcept
{
    if (edge == Edge::Left || edge == Edge::Right)
        return {bar.left, bar.bottom - kSideBarTopOffset, bar.right, bar.bottom - kSideBarBottomOffset};
    return {bar.right - kWideBarLeftOffset, bar.top, bar.right - kWideBarRightOffset, bar.bottom};
}

Rect AreaFromWorkArea(const Rect& workArea) noexcept
{
    return {workArea.right - kFallbackWidth, workArea.bottom - kFallbackHeight, workArea.right, workArea.bottom};
}
} // namespace TrayGeometry
