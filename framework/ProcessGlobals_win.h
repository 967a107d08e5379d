#pragma once
// The objects that live for the whole run of the program, created right
// after the application object in this order.

#include "framework/Handles_win.h"

#include <string>

struct CProcessGlobals
{
    CProcessGlobals();

    // The data folder, set by the main window once it exists.
    std::wstring strDataFolder;
    // Broadcast by the shell when the task bar is (re)created.
    UINT uTaskbarCreatedMessage = 0;
    // Kept loaded for themed drawing; null when the system has no themes.
    CUniqueModule hUxTheme;
};

CProcessGlobals& ProcessGlobals();
