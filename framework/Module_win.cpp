#include "framework/Module_win.h"

namespace
{
HINSTANCE g_instance = nullptr;
}

HINSTANCE AfxGetInstanceHandle() noexcept
{
    return g_instance ? g_instance : ::GetModuleHandleW(nullptr);
}

void AfxSetInstanceHandle(HINSTANCE instance) noexcept
{
    g_instance = instance;
}
