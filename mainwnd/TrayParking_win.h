#pragma once
// Moving the main window into the notification area and back: the window
// is parked under a hidden window of the process, which takes away its task
// bar button, and the move is animated like minimising when the system
// animates that.

#include <windows.h>

namespace TrayParking
{
// Parks a window that the caller has hidden.
void Park(HWND window, bool animate) noexcept;
// Brings a parked window back, shown and active.
void Unpark(HWND window, bool animate) noexcept;
// The notification icons' area on the screen, the target of both animations.
RECT FindTrayArea() noexcept;
} // namespace TrayParking
