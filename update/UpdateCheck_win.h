#pragma once
// The update check: compares the running program's version with the
// version file on the maker's update site and tells the outcome in the
// update dialog, over the active window. It ends the program after the
// user started the setup program. Errors of the Internet session are
// thrown (CSystemErrorException with WinINet's text) and end the caller's
// command; the callback boundary reports them.

#include "update/UpdateEnvironment_win.h"

#include <string>

// `reportWhenCurrent` also shows the same and the newer-than-published
// outcomes; `publisherCheck` adds the notice that a newer running version
// has not been published yet; `programName` names the version file and the
// setup program (empty: the running module's file name names the version
// file).
void CheckForNewerVersion(bool reportWhenCurrent, bool publisherCheck, const std::wstring& programName);
void CheckForNewerVersion(bool reportWhenCurrent, bool publisherCheck, const std::wstring& programName,
                          const UpdateEnvironment& environment);
