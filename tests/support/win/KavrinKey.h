#pragma once
// Kavrin's settings key in the test prefix's registry: made anew, deleted, read back raw.

#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "framework/Handles_win.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

inline void DeleteKavrinKey() { ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath); }

// The key anew with these numbers, open for more; SyncOnStart 0 keeps a started program off the network.
inline CSettingsKey SeedKavrinKey(std::initializer_list<std::pair<const wchar_t*, std::uint32_t>> numbers)
{
    DeleteKavrinKey();
    CSettingsKey settings;
    EXPECT_TRUE(settings.OpenKey(Settings::kKeyPath, true));
    for (const auto& [name, value] : numbers)
        EXPECT_TRUE(settings.WriteNumber(name, value));
    return settings;
}

// Each test starts and ends without the key.
class KavrinKeyTest : public testing::Test
{
protected:
    void SetUp() override { DeleteKavrinKey(); }
    void TearDown() override { DeleteKavrinKey(); }
};

// Each value's type and data under a key; nothing when there is no key.
using RawValues = std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>>;
inline std::optional<RawValues> ReadRawKey(const wchar_t* path, HKEY root = HKEY_CURRENT_USER)
{
    CUniqueRegKey key;
    if (::RegOpenKeyExW(root, path, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return std::nullopt;
    RawValues values;
    wchar_t name[256];
    BYTE data[1024];
    for (DWORD i = 0, length = 256, type = 0, size = 1024;
         ::RegEnumValueW(key.Get(), i, name, &length, nullptr, &type, data, &size) == ERROR_SUCCESS;
         ++i, length = 256, size = 1024)
        values[name] = {type, {data, data + size}};
    return values;
}
