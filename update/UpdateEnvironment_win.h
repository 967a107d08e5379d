#pragma once
// What the update service reaches outside the program: the maker's sites
// and the shell that opens pages, mail and the setup program. The program
// uses the defaults; tests point them elsewhere.

#include "framework/ShellOpen_win.h"
#include "update/MakerSites.h"

struct UpdateEnvironment
{
    MakerSites sites = DefaultMakerSites();
    LinkOpener open = ShellOpen;
};
