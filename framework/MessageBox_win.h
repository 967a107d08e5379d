#pragma once
// Modal message boxes with the application's name as caption.

#include <windows.h>
#include <string>

int AfxMessageBox(const std::wstring& text, UINT type = MB_OK);
int AfxMessageBox(UINT stringId, UINT type = MB_OK);

// A string of the program's string table; empty when it does not load.
std::wstring LoadResourceString(UINT id);
