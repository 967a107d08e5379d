#include "update/SetupDownload_win.h"

#include "framework/Exceptions_win.h"
#include "framework/Handles_win.h"
#include "framework/MessageBox_win.h"
#include "update/InternetSession_win.h"
#include "update/SetupRules.h"
#include "update/TextFormat.h"

#include <shlobj.h>
#include <wininet.h>

#include <algorithm>
#include <memory>

namespace
{
constexpr DWORD kPieceBytes = 512;

struct TaskMemFree
{
    void operator()(wchar_t* p) const noexcept { ::CoTaskMemFree(p); }
};

// The "Halvanworks" folder of the user's Downloads folder, created when
// missing, and held open so that it cannot be renamed or replaced while the
// setup program is saved into it; nothing, after telling the user, when it
// cannot be had or is a link to another place (a standard user could point
// it at a folder only administrators may write to).
struct DownloadFolder
{
    std::wstring path;
    CUniqueFile held;
};

DownloadFolder OpenDownloadFolder()
{
    wchar_t* known = nullptr;
    const HRESULT hr = ::SHGetKnownFolderPath(FOLDERID_Downloads, KF_FLAG_CREATE | KF_FLAG_DEFAULT_PATH, nullptr, &known);
    const std::unique_ptr<wchar_t, TaskMemFree> downloads(known);
    if (FAILED(hr) || !downloads)
    {
        AfxMessageBox(L"The user's \"Downloads\" folder could not be accessed.", MB_OK);
        return {};
    }
    DownloadFolder folder{FillFormat(L"%s\\Halvanworks", {downloads.get()}), {}};
    const int created = ::SHCreateDirectoryExW(nullptr, folder.path.c_str(), nullptr);
    if (created != ERROR_SUCCESS && created != ERROR_FILE_EXISTS && created != ERROR_ALREADY_EXISTS)
    {
        const auto code = static_cast<DWORD>(created);
        AfxMessageBox(FillFormat(L"An error occurred (Error Code: %x) and the Halvanworks temp data folder could not "
                                 L"be created or found:\n\nError Message is: %s",
                                 {HexText(code), SystemErrorText(code)}),
                      MB_OK | MB_ICONEXCLAMATION);
        return {};
    }
    folder.held.Reset(::CreateFileW(folder.path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                    nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!folder.held || !::GetFileInformationByHandle(folder.held.Get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != FILE_ATTRIBUTE_DIRECTORY)
    {
        AfxMessageBox(FillFormat(L"The folder %s is not an ordinary folder (it may be a link to another place); "
                                 L"nothing was saved in it.",
                                 {folder.path}),
                      MB_OK | MB_ICONEXCLAMATION);
        return {};
    }
    return folder;
}

// The file being written: deleted again unless the download completes. An
// earlier file of the name, or a link put in its place, is removed first,
// and the new one is made afresh, never through a link.
class CPartialFile
{
public:
    explicit CPartialFile(const std::wstring& path) : m_strPath(path)
    {
        ::DeleteFileW(path.c_str());
        m_file.Reset(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    }
    ~CPartialFile()
    {
        if (!m_file)
            return;
        m_file.Reset();
        if (!m_bKept)
            ::DeleteFileW(m_strPath.c_str());
    }
    CPartialFile(const CPartialFile&) = delete;
    CPartialFile& operator=(const CPartialFile&) = delete;

    bool IsOpen() const noexcept { return m_file.IsValid(); }
    void Write(const char* bytes, DWORD count) const
    {
        DWORD written = 0;
        if (!::WriteFile(m_file.Get(), bytes, count, &written, nullptr) || written != count)
            throw CSystemErrorException(::GetLastError());
    }
    // Closes the file and keeps it.
    void Keep()
    {
        if (!::CloseHandle(m_file.Release()))
            throw CSystemErrorException(::GetLastError());
        m_bKept = true;
    }

private:
    std::wstring m_strPath;
    CUniqueFile m_file;
    bool m_bKept = false;
};

void TellRefused(const std::wstring& setupFileName, const std::wstring& url, SetupRules::Refusal refusal)
{
    const std::wstring reason = refusal == SetupRules::Refusal::TooLarge
                                    ? L"it is larger than any setup program (64 MB)"
                                    : L"what arrived is not a program";
    AfxMessageBox(FillFormat(L"The download of %s from %s was refused and discarded: %s.", {setupFileName, url, reason}),
                  MB_OK | MB_ICONEXCLAMATION);
}

bool OpenedOnSite(const CInternetFile& remote, const MakerSites& sites, const std::wstring& setupFileName,
                  const std::wstring& url)
{
    if (!remote.GetRefusedRedirect().empty())
    {
        AfxMessageBox(RefusedRedirectText(url, remote.GetRefusedRedirect()), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const SetupRules::Refusal refusal = SetupRules::JudgeAnswer(remote.GetStatusCode(), remote.GetLength());
    if (refusal == SetupRules::Refusal::NotFile)
        AfxMessageBox(FillFormat(L"Unable to open the file %s on the Halvanworks website. Please contact Halvanworks "
                                 L"at %s and provide the URL being used: %s",
                                 {setupFileName, sites.supportEmail, url}),
                      MB_OK | MB_ICONINFORMATION);
    else if (refusal != SetupRules::Refusal::None)
        TellRefused(setupFileName, url, refusal);
    return refusal == SetupRules::Refusal::None;
}
} // namespace

SetupDownload DownloadSetup(const MakerSites& sites, const std::wstring& setupFileName,
                            const DownloadProgressHandler& progress)
{
    const std::wstring url = SiteAddress::Setup(sites, setupFileName);
    const CInternetSession session;
    const CInternetFile remote = session.OpenUrl(url, INTERNET_FLAG_TRANSFER_BINARY);
    if (!OpenedOnSite(remote, sites, setupFileName, url))
        return {};
    const std::optional<std::uint64_t> size = remote.GetLength();

    const DownloadFolder folder = OpenDownloadFolder();
    SetupDownload download{folder.path, {}};
    if (!folder.held)
        return download;
    const std::wstring target = FillFormat(L"%s\\%s", {download.folder, setupFileName});
    CPartialFile file(target);
    if (!file.IsOpen())
    {
        AfxMessageBox(FillFormat(L"Unable to open temporary file: %s", {target}), MB_OK | MB_ICONINFORMATION);
        return download;
    }

    std::uint64_t received = 0;
    std::string start;
    char piece[kPieceBytes];
    for (DWORD read = remote.Read(piece, kPieceBytes); read > 0; read = remote.Read(piece, kPieceBytes))
    {
        received += read;
        if (start.size() < 2)
            start.append(piece, std::min<DWORD>(read, 2));
        if (received > SetupRules::kMaxSetupBytes)
            break;
        progress(DownloadProgress::After(received, size));
        file.Write(piece, read);
    }
    if (const SetupRules::Refusal refusal = SetupRules::JudgeContent(start, received);
        refusal != SetupRules::Refusal::None)
    {
        TellRefused(setupFileName, url, refusal);
        return download;
    }
    if (!DownloadProgress::IsComplete(received, size))
    {
        AfxMessageBox(FillFormat(L"The download of %s from %s ended after %s of %s bytes and was discarded. Please try "
                                 L"again later.",
                                 {setupFileName, url, std::to_wstring(received), std::to_wstring(size.value_or(0))}),
                      MB_OK | MB_ICONEXCLAMATION);
        return download;
    }
    file.Keep();
    download.file = target;
    return download;
}
