#pragma once
// The settings store: one registry key of the current user. Stateless
// between calls: every read and write opens the key, does its one operation
// and closes it again. Reads fall back to their defaults and failed writes
// are dropped; nothing is ever shown to the user.

#include "common/SettingsStore.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

class CSettingsKey final : public ISettingsStore
{
public:
    CSettingsKey() noexcept = default;

    // Readers open without creating; only a write brings the key into being.
    bool OpenKey(const std::wstring& path, bool create) override;

    std::uint32_t ReadNumber(const wchar_t* name, std::uint32_t defaultValue) const override;
    bool WriteNumber(const wchar_t* name, std::uint32_t value) const override;
    std::wstring ReadText(const wchar_t* name, const std::wstring& defaultValue) const override;
    bool WriteText(const wchar_t* name, const std::wstring& text) const override;
    std::optional<SyncDateRecord> ReadDateRecord(const wchar_t* name) const override;
    bool WriteDateRecord(const wchar_t* name, const SyncDateRecord& record) const override;

    const std::wstring& GetPath() const noexcept { return m_path; }
    LONG GetLastOpenError() const noexcept { return m_lastError; }

private:
    // Reads the raw value into `buffer`; answers the byte count, or nothing
    // when the key or value is missing or the data does not fit.
    std::optional<DWORD> QueryValue(const wchar_t* name, void* buffer, DWORD size) const;
    bool SetValue(const wchar_t* name, DWORD type, const void* data, DWORD size) const;

    HKEY m_root = HKEY_CURRENT_USER;
    std::wstring m_path;
    LONG m_lastError = ERROR_SUCCESS;
};
