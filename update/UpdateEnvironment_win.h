#pragma once
// What the update service reaches outside the program: the maker's sites,
// the shell that opens pages, mail and the setup program, and the end of
// the process. The program uses the defaults; tests point them elsewhere.

#include "controls/ShellOpen_win.h"
#include "update/MakerSites.h"

#include <windows.h>

#include <functional>

struct UpdateEnvironment
{
    MakerSites sites = DefaultMakerSites();
    LinkOpener open = ShellOpen;
    // Ends the program once the user has started the setup program.
    std::function<void(UINT exitCode)> endProcess = [](UINT exitCode) { ::ExitProcess(exitCode); };
};
