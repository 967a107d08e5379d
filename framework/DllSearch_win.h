#pragma once
// Where the process loads DLLs from. An elevated program must not load a
// DLL that a standard user could have put beside it or in the current
// folder, so DLLs loaded by name come from System32 alone.

#include <windows.h>

// Narrows the search for DLLs loaded later to System32 and takes the
// current folder out of it. First thing in a program: the system may lack
// SetDefaultDllDirectories, so it is looked up at run time.
void RestrictDllSearch() noexcept;

// A DLL of the system, by its full path in System32; null when it fails.
HMODULE LoadSystemLibrary(const wchar_t* name) noexcept;
