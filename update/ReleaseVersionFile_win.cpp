#include "update/ReleaseVersionFile_win.h"

#include "framework/Handles_win.h"
#include "framework/MessageBox_win.h"
#include "update/FileVersionInfo_win.h"
#include "update/ReleaseVersionFile.h"
#include "update/TextFormat.h"
#include "update/UpdateCheck_win.h"
#include "update/VersionFile.h"

#include <memory>

namespace
{
// 100-ns intervals from 1601-01-01 to 1970-01-01.
constexpr std::uint64_t kUnixEpochInFileTime = 116444736000000000ull;

struct LocalMemFree
{
    void operator()(wchar_t* p) const noexcept { ::LocalFree(p); }
};

// The system's text for `error` up to its first line break.
std::wstring ErrorText(DWORD error)
{
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalMemFree> text(buffer);
    if (length == 0 || !text)
        return L"Unknown Error";
    const std::wstring message(text.get(), length);
    return message.substr(0, message.find(L'\r'));
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
    const std::uint64_t ticks = (static_cast<std::uint64_t>(modified.dwHighDateTime) << 32) | modified.dwLowDateTime;
    const std::uint64_t seconds = ticks > kUnixEpochInFileTime ? (ticks - kUnixEpochInFileTime) / 10000000ull : 0;
    const std::string text = VersionFile::Format(seconds, version);
    DWORD written = 0;
    ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
} // namespace

bool WriteReleaseVersionFile(const std::wstring& name)
{
    return WriteReleaseVersionFile(name, RunningModulePath(), UpdateEnvironment{});
}

bool WriteReleaseVersionFile(const std::wstring& name, const std::wstring& modulePath,
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
    CheckForNewerVersion(false, true, name, environment);
    return true;
}
