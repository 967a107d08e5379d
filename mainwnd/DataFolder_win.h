#pragma once
// The program's data folder, "Halvanworks\Kavrin" under the user's
// Documents folder.

#include <string>

// Creates the data folder with any missing parents and answers its path.
// When the Documents folder cannot be found or the folder cannot be made,
// tells the user and answers an empty path.
std::wstring CreateDataFolder();
