#include "common/SettingsKey_win.h"

#include "framework/Handles_win.h"

#include <array>
#include <span>

namespace
{
CUniqueRegKey Open(HKEY root, const std::wstring& path, REGSAM access)
{
    CUniqueRegKey key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, access, key.Put()) != ERROR_SUCCESS)
        key.Release();
    return key;
}
} // namespace

bool CSettingsKey::OpenKey(const std::wstring& path, bool create)
{
    if (path.empty())
    {
        m_path.clear();
        return true;
    }
    CUniqueRegKey key;
    LONG result = ERROR_SUCCESS;
    if (create)
    {
        result = ::RegCreateKeyExW(m_root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                   nullptr, key.Put(), nullptr);
    }
    else
    {
        result = ::RegOpenKeyExW(m_root, path.c_str(), 0, KEY_ALL_ACCESS, key.Put());
        m_lastError = result;
    }
    if (result != ERROR_SUCCESS)
    {
        key.Release();
        return false;
    }
    m_path = path;
    return true;
}

std::optional<DWORD> CSettingsKey::QueryValue(const wchar_t* name, void* buffer, DWORD size) const
{
    CUniqueRegKey key = Open(m_root, m_path, KEY_READ);
    if (!key)
        return std::nullopt;
    DWORD type = 0;
    if (::RegQueryValueExW(key.Get(), name, nullptr, &type, static_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return size;
}

bool CSettingsKey::SetValue(const wchar_t* name, DWORD type, const void* data, DWORD size) const
{
    CUniqueRegKey key = Open(m_root, m_path, KEY_WRITE);
    return key && ::RegSetValueExW(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

std::uint32_t CSettingsKey::ReadNumber(const wchar_t* name, std::uint32_t defaultValue) const
{
    std::array<std::byte, Settings::kNumberSize> data{};
    const auto size = QueryValue(name, data.data(), static_cast<DWORD>(data.size()));
    if (!size)
        return defaultValue;
    return Settings::DecodeNumber(std::span(data).first(*size)).value_or(defaultValue);
}

bool CSettingsKey::WriteNumber(const wchar_t* name, std::uint32_t value) const
{
    const auto data = Settings::EncodeNumber(value);
    return SetValue(name, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
}

std::wstring CSettingsKey::ReadText(const wchar_t* name, const std::wstring& defaultValue) const
{
    {
        CUniqueRegKey key = Open(m_root, m_path, KEY_QUERY_VALUE);
        DWORD type = REG_NONE;
        if (!key || ::RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return defaultValue;
    }
    std::array<std::byte, (Settings::kMaxTextLength + 1) * sizeof(wchar_t)> data{};
    const auto size = QueryValue(name, data.data(), static_cast<DWORD>(data.size()));
    if (!size)
        return defaultValue;
    return Settings::DecodeText(std::span(data).first(*size));
}

bool CSettingsKey::WriteText(const wchar_t* name, const std::wstring& text) const
{
    if (text.size() > Settings::kMaxTextLength)
        return false;
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return SetValue(name, REG_SZ, text.c_str(), bytes);
}

std::optional<SyncDateRecord> CSettingsKey::ReadDateRecord(const wchar_t* name) const
{
    std::array<std::byte, Settings::kDateRecordSize> data{};
    const auto size = QueryValue(name, data.data(), static_cast<DWORD>(data.size()));
    if (!size)
        return std::nullopt;
    return SyncDateRecord::Decode(std::span(data).first(*size));
}

bool CSettingsKey::WriteDateRecord(const wchar_t* name, const SyncDateRecord& record) const
{
    const auto data = record.Encode();
    return SetValue(name, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
}
