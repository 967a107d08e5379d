#include "update/ReleaseVersionFile_win.h"

#include "framework/Exceptions_win.h"
#include "framework/Handles_win.h"
#include "framework/LocalTime_win.h"
#include "framework/MessageBox_win.h"
#include "update/FileVersionInfo_win.h"
#include "update/ReleaseVersionFile.h"
#include "update/TextFormat.h"
#include "update/UpdateCheck_win.h"
#include "update/VersionFile.h"

namespace
{
// The system's text for `error` up to its first line break.
std::wstring ErrorText(DWORD error)
{
    const std::wstring message = SystemMessageText(error);
    return message.empty() ? L"Unknown Error" : message.substr(0, message.find(L'\r'));
}

bool Exists(const std::wstring& path)
{
    WIN32_FIND_DATAW found{};
    const CUniqueFind find(::FindFirstFileW(path.c_str(), &found));
    return find.IsValid();
}

// Writes the five lines with the file's own modification time first.
void WriteVersionFile(const std::wstring& path, const VersionQuad& version)
{
    const CUniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
    {
        AfxMessageBox(FillFormat(L"Unable to write the version file,\n %s\nError Message: %s",
                                 {path, ErrorText(::GetLastError())}),
                      MB_OK);
        return;
    }
    FILETIME modified{};
    ::GetFileTime(file.Get(), nullptr, nullptr, &modified);
    const auto seconds = static_cast<std::uint64_t>(UnixSeconds(modified));
    const std::string text = VersionFile::Format(seconds, version);
    DWORD written = 0;
    ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
} // namespace

bool WriteReleaseVersionFile(HWND owner, const std::wstring& name)
{
    return WriteReleaseVersionFile(owner, name, RunningModulePath(), UpdateEnvironment{});
}

bool WriteReleaseVersionFile(HWND owner, const std::wstring& name, const std::wstring& modulePath,
                             const UpdateEnvironment& environment)
{
    CFileVersionInfo info;
    info.ReadFromFile(modulePath);
    const std::optional<PathParts> module = SplitPath(modulePath);
    if (!module)
        return false;
    const std::wstring baseName = ReleaseVersionFile::BaseName(name, info.GetProductName(), module->name);
    const auto target = ReleaseVersionFile::TargetFor(*module, baseName);
    if (!target)
        return false;
    if (!Exists(target->setupFolder))
    {
        if (!::CreateDirectoryW(target->setupFolder.c_str(), nullptr))
        {
            AfxMessageBox(FillFormat(L"Unable to create setup folder for %s due to %s",
                                     {baseName, ErrorText(::GetLastError())}),
                          MB_OK);
        }
        return false;
    }
    WriteVersionFile(target->versionFile, info.GetFileVersion());
    // The program is ending anyway, whatever the user does in the notice.
    CheckForNewerVersion(owner, {false, true, name}, environment);
    return true;
}
