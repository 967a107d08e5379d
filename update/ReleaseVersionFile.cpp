#include "update/ReleaseVersionFile.h"

namespace ReleaseVersionFile
{
std::wstring BaseName(const std::wstring& given, const std::wstring& productName, const std::wstring& moduleName)
{
    if (!given.empty())
        return given;
    return productName.empty() ? moduleName : productName;
}

std::optional<Target> TargetFor(const PathParts& module, const std::wstring& baseName)
{
    if (module.directory.find(L"Project") == std::wstring::npos)
        return std::nullopt;
    const std::size_t release = module.directory.find(L"\\Release");
    if (release == std::wstring::npos)
        return std::nullopt;
    const std::wstring setupFolder = module.drive + module.directory.substr(0, release + 1) + baseName + L"Setup";
    return Target{setupFolder, setupFolder + L"\\" + baseName + L"Version.txt"};
}
} // namespace ReleaseVersionFile
