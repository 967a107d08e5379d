#include "update/FileVersionInfo_win.h"

#include "update/VersionResource.h"

#include <cwchar>
#include <new>
#include <vector>

namespace
{
constexpr const wchar_t* kKeyNames[] = {
    L"CompanyName",  L"FileDescription", L"FileVersion", L"InternalName",    L"LegalCopyright", L"OriginalFileName",
    L"ProductName",  L"ProductVersion",  L"Comments",    L"LegalTrademarks", L"PrivateBuild",   L"SpecialBuild",
};
static_assert(std::size(kKeyNames) == static_cast<std::size_t>(CFileVersionInfo::Key::Count));

// A sub-block of the loaded resource: the pointer points into `resource`.
bool QueryValue(const std::vector<BYTE>& resource, const std::wstring& subBlock, const void*& value, UINT& length)
{
    void* found = nullptr;
    length = 0;
    if (!::VerQueryValueW(resource.data(), subBlock.c_str(), &found, &length) || !found)
        return false;
    value = found;
    return true;
}

std::vector<VersionResource::Translation> Translations(const std::vector<BYTE>& resource)
{
    const void* table = nullptr;
    UINT length = 0;
    std::vector<VersionResource::Translation> entries;
    if (!QueryValue(resource, L"\\VarFileInfo\\Translation", table, length))
        return entries;
    const auto* words = static_cast<const WORD*>(table);
    for (UINT i = 0; i < length / (2 * sizeof(WORD)); ++i)
        entries.push_back({words[2 * i], words[2 * i + 1]});
    return entries;
}
} // namespace

void CFileVersionInfo::Clear()
{
    m_fixedInfo = VS_FIXEDFILEINFO{};
    for (std::wstring& text : m_strings)
        text.clear();
}

bool CFileVersionInfo::ReadFromFile(const std::wstring& path)
{
    return ReadFromFile(path, ::GetUserDefaultLangID());
}

bool CFileVersionInfo::ReadFromFile(const std::wstring& path, LANGID userLanguage)
{
    Clear();
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0)
        return false;
    std::vector<BYTE> resource;
    try
    {
        resource.resize(size);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    if (!::GetFileVersionInfoW(path.c_str(), handle, size, resource.data()))
        return false;

    const void* fixed = nullptr;
    UINT length = 0;
    if (QueryValue(resource, L"\\", fixed, length) && length == sizeof m_fixedInfo)
        m_fixedInfo = *static_cast<const VS_FIXEDFILEINFO*>(fixed);

    const auto translations = Translations(resource);
    const auto chosen = VersionResource::ChooseTranslation(translations, userLanguage);
    if (!chosen)
        return true;
    const std::wstring prefix = VersionResource::StringBlockPrefix(translations[*chosen]);
    for (std::size_t i = 0; i < m_strings.size(); ++i)
    {
        const void* text = nullptr;
        // The length counts characters, with the terminating NUL when the
        // value has one; an empty value may point at the next block.
        if (QueryValue(resource, prefix + kKeyNames[i], text, length))
        {
            const auto* chars = static_cast<const wchar_t*>(text);
            m_strings[i].assign(chars, ::wcsnlen(chars, length));
        }
    }
    return true;
}

VersionQuad CFileVersionInfo::GetFileVersion() const noexcept
{
    return VersionFromWords(m_fixedInfo.dwFileVersionMS, m_fixedInfo.dwFileVersionLS);
}

VersionQuad CFileVersionInfo::GetProductVersion() const noexcept
{
    return VersionFromWords(m_fixedInfo.dwProductVersionMS, m_fixedInfo.dwProductVersionLS);
}

std::wstring RunningModulePath()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length < MAX_PATH ? length : 0);
}
