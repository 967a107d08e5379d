#pragma once
// The version resource of an executable file on disk: its fixed block and
// the twelve standard strings of the translation the user reads. Filled by
// ReadFromFile, read, and discarded; it keeps no pointer into the resource.

#include "update/Version.h"

#include <windows.h>

#include <array>
#include <string>

class CFileVersionInfo
{
public:
    // The strings, in the order the record keeps them.
    enum class Key
    {
        CompanyName,
        FileDescription,
        FileVersion,
        InternalName,
        LegalCopyright,
        OriginalFileName,
        ProductName,
        ProductVersion,
        Comments,
        LegalTrademarks,
        PrivateBuild,
        SpecialBuild,
        Count,
    };

    CFileVersionInfo() noexcept = default;
    virtual ~CFileVersionInfo() = default;
    CFileVersionInfo(const CFileVersionInfo&) = default;
    CFileVersionInfo& operator=(const CFileVersionInfo&) = default;

    // Every word of the fixed block 0, every string empty.
    virtual void Clear();

    // True once the file's version resource loaded, whether or not every
    // field was found; false (and the record empty) when the file has none.
    // The strings come from the translation of the user's language.
    bool ReadFromFile(const std::wstring& path);
    bool ReadFromFile(const std::wstring& path, LANGID userLanguage);

    const VS_FIXEDFILEINFO& GetFixedInfo() const noexcept { return m_fixedInfo; }
    VersionQuad GetFileVersion() const noexcept;
    VersionQuad GetProductVersion() const noexcept;
    // Empty when the resource does not have it.
    const std::wstring& GetString(Key key) const noexcept { return m_strings[static_cast<std::size_t>(key)]; }
    const std::wstring& GetProductName() const noexcept { return GetString(Key::ProductName); }
    const std::wstring& GetFileDescription() const noexcept { return GetString(Key::FileDescription); }
    const std::wstring& GetLegalCopyright() const noexcept { return GetString(Key::LegalCopyright); }

private:
    VS_FIXEDFILEINFO m_fixedInfo{};
    std::array<std::wstring, static_cast<std::size_t>(Key::Count)> m_strings;
};

// The full file name of the running program, as the system reports it.
std::wstring RunningModulePath();
