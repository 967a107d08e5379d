#pragma once
// How a link control opens its target. A control can be handed another
// opener (tests record the call instead of starting a browser or a mail
// program).

#include <windows.h>

#include <functional>
#include <string>

using LinkOpener = std::function<bool(HWND owner, const std::wstring& target)>;

// Opens `target` (a web address, a "mailto:" address or a file) with the
// shell's "open" verb in this process, shown normally: with this process's
// rights. Answers whether the shell started it.
bool ShellOpen(HWND owner, const std::wstring& target) noexcept;

// The same, but through the shell of the desktop, so that a browser, a mail
// program or a folder window runs as the signed-in user even when this
// process is elevated. Falls back to ShellOpen where the desktop's shell
// cannot be reached.
bool OpenAsDesktopUser(HWND owner, const std::wstring& target) noexcept;
