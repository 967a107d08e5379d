#pragma once
// Publishes the running version into the development tree when the
// program runs from its "\Release" folder: the first call creates the
// "<base>Setup" folder beside the Release folder, later calls write
// "<base>Version.txt" in it and check the maker's site in publisher mode,
// with the update dialog over `owner`.
// Anywhere else it does nothing.

#include "update/UpdateEnvironment_win.h"

#include <windows.h>

#include <string>

// True when the setup folder existed (whether or not the file could then
// be written). `name` names the files; empty: the product name.
bool WriteReleaseVersionFile(HWND owner, const std::wstring& name);
// The same for the program at `modulePath`.
bool WriteReleaseVersionFile(HWND owner, const std::wstring& name, const std::wstring& modulePath,
                             const UpdateEnvironment& environment);
