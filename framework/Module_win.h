#pragma once
// The module whose resources the program's windows and dialogs use.

#include <windows.h>

// The instance the application object was started with, or the program's
// own module before that.
HINSTANCE AfxGetInstanceHandle() noexcept;
void AfxSetInstanceHandle(HINSTANCE instance) noexcept;
