#pragma once
// A Windows path split as the C library's _wsplitpath_s splits it.

#include <optional>
#include <string>
#include <string_view>

struct PathParts
{
    std::wstring drive;     // "C:", or empty
    std::wstring directory; // with its trailing backslash
    std::wstring name;      // the file name without extension
    std::wstring extension; // with its dot

    friend bool operator==(const PathParts&, const PathParts&) = default;
};

// Nothing when a part does not fit the C library's buffers (a directory,
// name or extension of 256 characters or more).
std::optional<PathParts> SplitPath(std::wstring_view path);
