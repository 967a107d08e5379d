#include "mainwnd/StartupShortcut_win.h"

#include "framework/Handles_win.h"
#include "framework/MessageBox_win.h"

#include <objbase.h>
#include <shlobj.h>

namespace
{
constexpr wchar_t kDescription[] = L"Run Halvanworks Kavrin program";

// A shell folder's current path; empty when the shell cannot name it.
std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, 0, path)))
        return {};
    return path;
}

std::wstring LinkIn(const std::wstring& folder)
{
    return folder + L"\\Kavrin.lnk";
}

bool FileExists(const std::wstring& path)
{
    WIN32_FIND_DATAW data{};
    const CUniqueFind search(::FindFirstFileW(path.c_str(), &data));
    return search.IsValid();
}
} // namespace

bool CStartupShortcut::FindStartupShortcut()
{
    const std::wstring allUsers = ShellFolder(CSIDL_COMMON_STARTUP);
    m_strStartupFolder = ShellFolder(CSIDL_STARTUP);
    m_strShortcutPath.clear();
    for (const std::wstring& folder : {allUsers, m_strStartupFolder})
    {
        if (!folder.empty() && FileExists(LinkIn(folder)))
        {
            m_strShortcutPath = LinkIn(folder);
            return true;
        }
    }
    return false;
}

void CStartupShortcut::UpdateStartupShortcut(bool startWithWindows)
{
    const bool found = FindStartupShortcut();
    if (!startWithWindows && found)
        DeleteFoundShortcut();
    else if (startWithWindows && !found)
        CreateUserShortcut();
}

std::wstring InstalledProgramPath()
{
    const std::wstring programFiles = ShellFolder(CSIDL_PROGRAM_FILES);
    return programFiles.empty() ? std::wstring() : programFiles + L"\\Halvanworks\\Kavrin\\Kavrin.exe";
}

void CStartupShortcut::DeleteFoundShortcut() const
{
    if (!::DeleteFileW(m_strShortcutPath.c_str()))
        AfxMessageBox(L"Unable to delete Startup Shortcut - " + m_strShortcutPath, MB_OK);
}

// The shortcut starts the installed program, in the program-files folder.
// Without that folder or the user's Startup folder there is nowhere sound
// to point at or to write to: nothing is created and the failure is shown.
void CStartupShortcut::CreateUserShortcut() const
{
    const std::wstring programFiles = ShellFolder(CSIDL_PROGRAM_FILES);
    const std::wstring link = LinkIn(m_strStartupFolder);
    HRESULT result = E_FAIL;
    if (!programFiles.empty() && !m_strStartupFolder.empty())
    {
        const std::wstring target = InstalledProgramPath();
        result = CreateShortcut(target, L"", link, kDescription, programFiles, target, 0, 0);
    }
    if (result != S_OK)
        AfxMessageBox(L"Unable to create Startup Shortcut - " + link, MB_OK);
}

HRESULT CreateShortcut(const std::wstring& path, const std::wstring& arguments, const std::wstring& linkFile,
                       const std::wstring& description, const std::wstring& workingDirectory,
                       const std::wstring& iconPath, int showCommand, int iconIndex)
{
    if (path.empty() || linkFile.empty() || showCommand < 0 || iconIndex < 0)
        return E_INVALIDARG;
    CComPtr<IShellLinkW> link;
    HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid());
    if (FAILED(result))
        return result;
    link->SetPath(path.c_str());
    link->SetArguments(arguments.c_str());
    if (!description.empty())
        link->SetDescription(description.c_str());
    if (showCommand > 0)
        link->SetShowCmd(showCommand);
    if (!workingDirectory.empty())
        link->SetWorkingDirectory(workingDirectory.c_str());
    if (!iconPath.empty())
        link->SetIconLocation(iconPath.c_str(), iconIndex);
    CComPtr<IPersistFile> file;
    result = link.As(file);
    if (FAILED(result))
        return result;
    return file->Save(linkFile.c_str(), TRUE);
}
