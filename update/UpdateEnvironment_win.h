#pragma once
// What the update service reaches outside the program: the maker's sites
// and keys, the desktop's shell that opens pages, mail and folders as the
// signed-in user, and this program's own shell that starts the setup
// program. The program uses the defaults; tests point them elsewhere.

#include "framework/ShellOpen_win.h"
#include "update/MakerSites.h"

struct UpdateEnvironment
{
    MakerSites sites = DefaultMakerSites();
    std::vector<SetupRules::KeyDigest> publisherKeys = DefaultPublisherKeys();
    LinkOpener open = OpenAsDesktopUser;
    LinkOpener start = ShellOpen;
};
