// The settings store against Wine's real registry.

#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "common/SyncDate_win.h"
#include "framework/Handles_win.h"
#include "tests/support/SettingsRoundTrip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <vector>

namespace
{
constexpr wchar_t kTestKey[] = L"Software\\KavrinTests\\SettingsKey";

class SettingsKeyTest : public testing::Test
{
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }

    // Stores raw data the way another tool might have.
    static void PutRaw(const wchar_t* name, DWORD type, const std::vector<BYTE>& data)
    {
        CUniqueRegKey key;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExW(key.Get(), name, 0, type, data.data(), static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }

    struct RawValue
    {
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    static RawValue GetRaw(const wchar_t* name)
    {
        RawValue value;
        value.data.resize(1024);
        DWORD size = static_cast<DWORD>(value.data.size());
        if (::RegGetValueW(HKEY_CURRENT_USER, kTestKey, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type,
                           value.data.data(), &size) != ERROR_SUCCESS)
            return RawValue{};
        value.data.resize(size);
        return value;
    }

    // ERROR_SUCCESS when the test key exists, ERROR_FILE_NOT_FOUND when not.
    static LONG OpenTestKey()
    {
        CUniqueRegKey key;
        return ::RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, key.Put());
    }

    static CSettingsKey Opened(bool create = false)
    {
        CSettingsKey settings;
        settings.OpenKey(kTestKey, create);
        return settings;
    }

    static std::vector<BYTE> TextBytes(const std::wstring& text, size_t byteCount)
    {
        std::vector<BYTE> bytes(byteCount, 0);
        memcpy(bytes.data(), text.data(), std::min(byteCount, text.size() * sizeof(wchar_t)));
        return bytes;
    }
};
} // namespace

TEST_F(SettingsKeyTest, MissingKeyOpensOnlyWithCreateAndReadsDefaults)
{
    CSettingsKey settings;
    EXPECT_FALSE(settings.OpenKey(kTestKey, false));
    EXPECT_EQ(settings.GetLastOpenError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(settings.GetPath(), L"");
    EXPECT_EQ(settings.ReadNumber(L"x", 5), 5u);
    EXPECT_EQ(settings.ReadText(L"x", L"text"), L"text");
    EXPECT_EQ(OpenTestKey(), ERROR_FILE_NOT_FOUND) << "reading must not create the key";

    EXPECT_TRUE(settings.OpenKey(kTestKey, true));
    EXPECT_EQ(settings.GetPath(), kTestKey);
    EXPECT_TRUE(settings.OpenKey(kTestKey, false));
    EXPECT_EQ(settings.GetLastOpenError(), ERROR_SUCCESS);

    EXPECT_EQ(settings.ReadNumber(Settings::Names::TimeToExit, 60000), 60000u);
    EXPECT_EQ(settings.ReadText(Settings::Names::CurrentServer, L"fallback"), L"fallback");
    EXPECT_FALSE(settings.ReadDateRecord(Settings::Names::LastSyncDate));

    EXPECT_TRUE(settings.OpenKey(L"", false));
    EXPECT_EQ(settings.GetPath(), L"");
}

TEST_F(SettingsKeyTest, NumbersAreFourBinaryBytesAndReadAnyTypeUpToFourBytes)
{
    const CSettingsKey settings = Opened(true);
    ASSERT_TRUE(settings.WriteNumber(L"Flag", 1));
    const RawValue raw = GetRaw(L"Flag");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(raw.data, (std::vector<BYTE>{1, 0, 0, 0}));
    EXPECT_EQ(settings.ReadNumber(L"Flag", 7), 1u);

    PutRaw(L"Dword", REG_DWORD, {0x60, 0xEA, 0, 0});
    EXPECT_EQ(settings.ReadNumber(L"Dword", 0), 60000u);
    PutRaw(L"Two", REG_BINARY, {0x34, 0x12});
    EXPECT_EQ(settings.ReadNumber(L"Two", 0), 0x1234u);
    PutRaw(L"Eight", REG_BINARY, {1, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(settings.ReadNumber(L"Eight", 183), 183u);
    PutRaw(L"Stored2", REG_BINARY, {2, 0, 0, 0});
    EXPECT_EQ(settings.ReadNumber(L"Stored2", 0), 2u);
}

TEST_F(SettingsKeyTest, TextsUpTo254CharactersRoundTrip)
{
    const CSettingsKey settings = Opened(true);
    const std::wstring longest(254, L'x');
    ASSERT_TRUE(settings.WriteText(Settings::Names::CurrentServer, longest));
    const RawValue raw = GetRaw(Settings::Names::CurrentServer);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.data.size(), 2u * 255u) << "the null character is stored too";
    EXPECT_EQ(settings.ReadText(Settings::Names::CurrentServer, L""), longest);

    EXPECT_FALSE(settings.WriteText(Settings::Names::CurrentServer, std::wstring(255, L'y')));
    EXPECT_EQ(settings.ReadText(Settings::Names::CurrentServer, L""), longest) << "a refused write keeps the old text";

    ASSERT_TRUE(settings.WriteText(L"Empty", L""));
    EXPECT_EQ(settings.ReadText(L"Empty", L"default"), L"");
}

TEST_F(SettingsKeyTest, TextsWrittenByOtherToolsFollowTheReadingRules)
{
    const CSettingsKey settings = Opened(true);
    // Characters plus one zero byte: the odd byte is ignored.
    PutRaw(L"Odd", REG_SZ, TextBytes(L"pool.example", 2 * 12 + 1));
    EXPECT_EQ(settings.ReadText(L"Odd", L""), L"pool.example");
    // No terminator at all.
    PutRaw(L"Bare", REG_SZ, TextBytes(L"abc", 6));
    EXPECT_EQ(settings.ReadText(L"Bare", L""), L"abc");
    // An expandable text is read as it is.
    PutRaw(L"Expand", REG_EXPAND_SZ, TextBytes(L"%TEMP%", 14));
    EXPECT_EQ(settings.ReadText(L"Expand", L""), L"%TEMP%");
    // Any other type yields the default.
    PutRaw(L"Binary", REG_BINARY, TextBytes(L"abc", 8));
    EXPECT_EQ(settings.ReadText(L"Binary", L"default"), L"default");
    // 255 characters and a null do not fit the buffer.
    PutRaw(L"TooLong", REG_SZ, TextBytes(std::wstring(255, L'z'), 512));
    EXPECT_EQ(settings.ReadText(L"TooLong", L"default"), L"default");
}

TEST_F(SettingsKeyTest, DateRecordsAreTwelveBytes)
{
    const CSettingsKey settings = Opened(true);
    ASSERT_TRUE(settings.WriteDateRecord(Settings::Names::LastSyncDate, SyncDateRecord{45658.25, 0}));
    const RawValue raw = GetRaw(Settings::Names::LastSyncDate);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(raw.data.size(), 12u);
    const auto record = settings.ReadDateRecord(Settings::Names::LastSyncDate);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->date, 45658.25);
    EXPECT_EQ(record->status, 0);

    PutRaw(L"Sixteen", REG_BINARY, std::vector<BYTE>(16, 0));
    EXPECT_FALSE(settings.ReadDateRecord(L"Sixteen"));
}

TEST(SyncDate, ConvertsLikeTheOleAutomationDate)
{
    EXPECT_EQ(CalendarDateOf(SyncDateRecord{1.5, 0}), (CalendarDate{1899, 12, 31}));
    EXPECT_EQ(CalendarDateOf(SyncDateRecord{45658.75, 0}), (CalendarDate{2025, 1, 1}));
    EXPECT_EQ(CalendarDateOf(SyncDateRecord{45658.0, 1}), CalendarDate{});
    EXPECT_EQ(CalendarDateOf(SyncDateRecord{45658.0, 2}), CalendarDate{});
    EXPECT_EQ(CalendarDateOf(SyncDateRecord{1.0e10, 0}), CalendarDate{}) << "beyond year 9999";

    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 6;
    local.tm_hour = 13;
    local.tm_min = 3;
    local.tm_sec = 7;
    const SyncDateRecord record = MakeSyncDateRecord(local);
    EXPECT_EQ(record.status, SyncDateRecord::kValid);
    EXPECT_EQ(CalendarDateOf(record), (CalendarDate{2026, 12, 6}));
    EXPECT_NEAR(record.date - std::floor(record.date), (13 * 3600 + 3 * 60 + 7) / 86400.0, 1e-9);
}

// The settings rules over the real registry store, on the programs' own key.
TEST(KavrinSettingsRegistry, SavedAndStoredValuesLoadBack)
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
    CSettingsKey store;
    ExpectSettingsRoundTrip(store);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
}
