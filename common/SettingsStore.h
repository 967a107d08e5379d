#pragma once
// What the settings rules need of a store: the registry key of the current
// user in the programs (CSettingsKey), a map in memory in the tests. The
// operations are those of the registry store: open the key (creating it
// only when asked), then one read or write at a time. Reads fall back to
// their defaults and writes answer whether they were made.

#include "common/SettingsFormats.h"

#include <cstdint>
#include <optional>
#include <string>

class ISettingsStore
{
public:
    virtual ~ISettingsStore() = default;

    virtual bool OpenKey(const std::wstring& path, bool create) = 0;
    virtual std::uint32_t ReadNumber(const wchar_t* name, std::uint32_t defaultValue) const = 0;
    virtual bool WriteNumber(const wchar_t* name, std::uint32_t value) const = 0;
    virtual std::wstring ReadText(const wchar_t* name, const std::wstring& defaultValue) const = 0;
    virtual bool WriteText(const wchar_t* name, const std::wstring& text) const = 0;
    virtual std::optional<SyncDateRecord> ReadDateRecord(const wchar_t* name) const = 0;
    virtual bool WriteDateRecord(const wchar_t* name, const SyncDateRecord& record) const = 0;
};
