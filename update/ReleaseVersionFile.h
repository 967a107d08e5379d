#pragma once
// Where a release build publishes its version file: only a program that
// runs from the "\Release" folder of a development tree (a directory that
// names "Project") has one, in the "<base>Setup" folder beside that
// Release folder.

#include "update/ModulePath.h"

#include <optional>
#include <string>

namespace ReleaseVersionFile
{
struct Target
{
    std::wstring setupFolder;
    std::wstring versionFile;

    friend bool operator==(const Target&, const Target&) = default;
};

// The given name, else the program's product name, else its file name.
std::wstring BaseName(const std::wstring& given, const std::wstring& productName, const std::wstring& moduleName);

// Nothing when the module does not run from such a release folder.
std::optional<Target> TargetFor(const PathParts& module, const std::wstring& baseName);
} // namespace ReleaseVersionFile
