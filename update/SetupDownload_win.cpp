#include "update/SetupDownload_win.h"

#include "framework/Exceptions_win.h"
#include "framework/Handles_win.h"
#include "framework/MessageBox_win.h"
#include "update/InternetSession_win.h"
#include "update/TextFormat.h"

#include <shlobj.h>
#include <wininet.h>

#include <memory>

namespace
{
constexpr DWORD kPieceBytes = 512;

struct TaskMemFree
{
    void operator()(wchar_t* p) const noexcept { ::CoTaskMemFree(p); }
};

// The "Halvanworks" folder of the user's Downloads folder, created when
// missing; empty, after telling the user, when it cannot be had.
std::wstring DownloadFolder()
{
    wchar_t* known = nullptr;
    const HRESULT hr = ::SHGetKnownFolderPath(FOLDERID_Downloads, KF_FLAG_CREATE | KF_FLAG_DEFAULT_PATH, nullptr, &known);
    const std::unique_ptr<wchar_t, TaskMemFree> downloads(known);
    if (FAILED(hr) || !downloads)
    {
        AfxMessageBox(L"The user's \"Downloads\" folder could not be accessed.", MB_OK);
        return {};
    }
    const std::wstring folder = FillFormat(L"%s\\Halvanworks", {downloads.get()});
    const int created = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (created != ERROR_SUCCESS && created != ERROR_FILE_EXISTS && created != ERROR_ALREADY_EXISTS)
    {
        const auto code = static_cast<DWORD>(created);
        AfxMessageBox(FillFormat(L"An error occurred (Error Code: %x) and the Halvanworks temp data folder could not "
                                 L"be created or found:\n\nError Message is: %s",
                                 {HexText(code), SystemErrorText(code)}),
                      MB_OK | MB_ICONEXCLAMATION);
        return {};
    }
    return folder;
}

// The file being written: deleted again unless the download completes.
class CPartialFile
{
public:
    explicit CPartialFile(const std::wstring& path)
        : m_strPath(path),
          m_file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
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
} // namespace

SetupDownload DownloadSetup(const MakerSites& sites, const std::wstring& setupFileName,
                            const DownloadProgressHandler& progress)
{
    const std::wstring url = SiteAddress::Setup(sites, setupFileName);
    const CInternetSession session;
    const CInternetFile remote = session.OpenUrl(url, INTERNET_FLAG_TRANSFER_BINARY);
    if (remote.IsErrorAnswer())
    {
        AfxMessageBox(FillFormat(L"Unable to open the file %s on the Halvanworks website. Please contact Halvanworks "
                                 L"at %s and provide the URL being used: %s",
                                 {setupFileName, sites.supportEmail, url}),
                      MB_OK | MB_ICONINFORMATION);
        return {};
    }
    const std::optional<std::uint64_t> size = remote.GetLength();

    SetupDownload download;
    download.folder = DownloadFolder();
    if (download.folder.empty())
        return download;
    const std::wstring target = FillFormat(L"%s\\%s", {download.folder, setupFileName});
    CPartialFile file(target);
    if (!file.IsOpen())
    {
        AfxMessageBox(FillFormat(L"Unable to open temporary file: %s", {target}), MB_OK | MB_ICONINFORMATION);
        return download;
    }

    std::uint64_t received = 0;
    char piece[kPieceBytes];
    for (DWORD read = remote.Read(piece, kPieceBytes); read > 0; read = remote.Read(piece, kPieceBytes))
    {
        received += read;
        progress(DownloadProgress::After(received, size));
        file.Write(piece, read);
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
