#pragma once
// Starting a downloaded setup program with this program's rights, but only
// one the maker signed. The file is opened so that nobody can change,
// replace or delete it, checked through that handle, and started while the
// handle is held: what was checked is what runs.

#include "update/UpdateEnvironment_win.h"

#include <windows.h>

#include <string>

enum class SetupStart
{
    Started,
    NotChecked, // this build accepts no key: the file stays, unstarted
    Refused,    // not the maker's: the file was deleted
    NotStarted, // checked, but the shell could not start it
};

// Every outcome but Started has been told to the user.
SetupStart StartCheckedSetup(HWND owner, const std::wstring& path, const UpdateEnvironment& environment);
