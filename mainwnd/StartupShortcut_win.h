#pragma once
// "Start with Windows" is nothing but a shortcut "Kavrin.lnk" in a Startup
// folder: the all-users one or the current user's. The option is on when
// one is found; turning it on creates one in the user's folder, pointing at
// the installed program, and turning it off deletes the one found.

#include <windows.h>

#include <string>

class CStartupShortcut
{
public:
    // Looks in the all-users Startup folder, then in the user's; refreshes
    // the user's folder and the path of the shortcut found (empty when
    // there is none).
    bool FindStartupShortcut();
    // Brings the Startup folders in line with the option; a failure is
    // shown in a message box.
    void UpdateStartupShortcut(bool startWithWindows);

    const std::wstring& GetStartupFolder() const noexcept { return m_strStartupFolder; }
    const std::wstring& GetShortcutPath() const noexcept { return m_strShortcutPath; }

private:
    void DeleteFoundShortcut() const;
    void CreateUserShortcut() const;

    std::wstring m_strStartupFolder;
    std::wstring m_strShortcutPath;
};

// The installed program, "Halvanworks\Kavrin\Kavrin.exe" in the
// program-files folder; empty when the shell cannot name that folder.
std::wstring InstalledProgramPath();

// Writes one shell shortcut at `linkFile`. An empty description, working
// directory or icon path, and a show command of 0, leave that part unset.
// Answers E_INVALIDARG without doing anything for an empty path or link
// file or a negative show command or icon index; otherwise the first
// failure of the shell-link object, or the result of saving the file.
HRESULT CreateShortcut(const std::wstring& path, const std::wstring& arguments, const std::wstring& linkFile,
                       const std::wstring& description, const std::wstring& workingDirectory,
                       const std::wstring& iconPath, int showCommand, int iconIndex);
