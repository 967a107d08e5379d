#pragma once
// How a link control opens its target. The shell's "open" verb by default;
// a control can be handed another opener (tests record the call instead of
// starting a browser or a mail program).

#include <windows.h>

#include <functional>
#include <string>

using LinkOpener = std::function<bool(HWND owner, const std::wstring& target)>;

// Opens `target` (a web address, a "mailto:" address or a file) with the
// shell's "open" verb, shown normally. Answers whether the shell started it.
bool ShellOpen(HWND owner, const std::wstring& target) noexcept;
