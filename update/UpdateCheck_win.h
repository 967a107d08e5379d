#pragma once
// The update check: compares the running program's version with the
// version file on the maker's update site and tells the outcome in the
// update dialog over `owner`. It never ends the program: it answers what
// the caller must do. Errors of the Internet session are thrown
// (CSystemErrorException with WinINet's text) and end the caller's
// command; the callback boundary reports them.

#include "update/UpdateCheck.h"
#include "update/UpdateEnvironment_win.h"

#include <windows.h>

enum class UpdateOutcome
{
    // Nothing for the caller to do.
    Nothing,
    // The user started the downloaded setup program: the program must end
    // at once, with exit code 0 and without saving anything.
    SetupStarted,
    // The user asked for the maker's product page (OpenProductPage).
    ProductPageWanted,
};

UpdateOutcome CheckForNewerVersion(HWND owner, const UpdateCheck::Request& request,
                                   const UpdateEnvironment& environment = UpdateEnvironment{});

// Opens the maker's product page through the shell.
void OpenProductPage(HWND owner, const UpdateEnvironment& environment = UpdateEnvironment{});
