#include "update/ModulePath.h"

namespace
{
constexpr std::size_t kMaxPart = 255;
}

std::optional<PathParts> SplitPath(std::wstring_view path)
{
    PathParts parts;
    if (path.size() >= 2 && path[1] == L':')
    {
        parts.drive = path.substr(0, 2);
        path.remove_prefix(2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring_view::npos)
    {
        parts.directory = path.substr(0, slash + 1);
        path.remove_prefix(slash + 1);
    }
    const std::size_t dot = path.rfind(L'.');
    parts.name = path.substr(0, dot);
    if (dot != std::wstring_view::npos)
        parts.extension = path.substr(dot);
    if (parts.directory.size() > kMaxPart || parts.name.size() > kMaxPart || parts.extension.size() > kMaxPart)
        return std::nullopt;
    return parts;
}
