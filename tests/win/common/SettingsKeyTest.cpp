// The settings store against Wine's real registry.

#include "common/SyncDate_win.h"
#include "tests/support/SettingsRoundTrip.h"
#include "tests/support/win/KavrinKey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace
{
constexpr wchar_t kTestKey[] = L"Software\\KavrinTests\\SettingsKey";
using RawValue = RawValues::mapped_type; // type and data

std::vector<BYTE> TextBytes(const std::wstring& text, size_t byteCount)
{
    std::vector<BYTE> bytes(byteCount, 0);
    std::memcpy(bytes.data(), text.data(), std::min(byteCount, text.size() * sizeof(wchar_t)));
    return bytes;
}

class SettingsKeyTest : public testing::Test
{
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }

    // Stores raw data the way another tool might have.
    static LSTATUS PutRaw(const wchar_t* name, const RawValue& value)
    {
        return ::RegSetKeyValueW(HKEY_CURRENT_USER, kTestKey, name, value.first, value.second.data(),
                                 static_cast<DWORD>(value.second.size()));
    }

    CSettingsKey settings;
};
} // namespace

TEST_F(SettingsKeyTest, MissingKeyOpensOnlyWithCreateAndReadsDefaults)
{
    EXPECT_FALSE(settings.OpenKey(kTestKey, false));
    EXPECT_EQ(settings.GetLastOpenError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(settings.ReadNumber(L"x", 5), 5u);
    EXPECT_FALSE(ReadRawKey(kTestKey)) << "reading must not create the key";

    EXPECT_TRUE(settings.OpenKey(kTestKey, true));
    EXPECT_TRUE(settings.OpenKey(kTestKey, false));
    EXPECT_EQ(settings.ReadText(Settings::Names::CurrentServer, L"fallback"), L"fallback");
    EXPECT_FALSE(settings.ReadDateRecord(Settings::Names::LastSyncDate));
}

TEST_F(SettingsKeyTest, NumbersAreFourBinaryBytesTextsKeepTheirNullAndDatesAreTwelveBytes)
{
    ASSERT_TRUE(settings.OpenKey(kTestKey, true));
    const std::wstring longest(254, L'x');
    ASSERT_TRUE(settings.WriteNumber(L"Number", 1));
    ASSERT_TRUE(settings.WriteText(L"Text", longest));
    ASSERT_TRUE(settings.WriteDateRecord(L"Date", SyncDateRecord{45658.25, 0}));
    RawValues raw = ReadRawKey(kTestKey).value_or(RawValues{});
    EXPECT_EQ(raw[L"Number"], RawValue(REG_BINARY, {1, 0, 0, 0}));
    EXPECT_EQ(raw[L"Text"], RawValue(REG_SZ, TextBytes(longest, 2 * 255)));
    EXPECT_EQ(raw[L"Date"].first, DWORD{REG_BINARY});
    EXPECT_EQ(raw[L"Date"].second.size(), 12u);

    EXPECT_EQ(settings.ReadNumber(L"Number", 7), 1u);
    EXPECT_EQ(settings.ReadText(L"Text", L""), longest);
    EXPECT_EQ(settings.ReadDateRecord(L"Date").value_or(SyncDateRecord{}).date, 45658.25);

    EXPECT_FALSE(settings.WriteText(L"Text", std::wstring(255, L'y')));
    EXPECT_EQ(settings.ReadText(L"Text", L""), longest) << "a refused write keeps the old text";
}

TEST_F(SettingsKeyTest, ValuesStoredByOtherToolsFollowTheReadingRules)
{
    ASSERT_TRUE(settings.OpenKey(kTestKey, true));
    // A number is any value of up to four bytes; a text is a REG_SZ or REG_EXPAND_SZ (read as it is)
    // of up to 254 characters and a null. The byte decoding itself: SettingsFormatsTest.
    struct Case { const wchar_t* name; RawValue raw; DWORD number; const wchar_t* text; };
    const Case cases[] = {
        {L"Dword", {REG_DWORD, {0x60, 0xEA, 0, 0}}, 60000, L"default"},
        {L"Two", {REG_BINARY, {0x60, 0xEA}}, 60000, L"default"},
        {L"Expand", {REG_EXPAND_SZ, TextBytes(L"%TEMP%", 14)}, 183, L"%TEMP%"},
        {L"Binary", {REG_BINARY, TextBytes(L"abc", 8)}, 183, L"default"},
        {L"TooLong", {REG_SZ, TextBytes(std::wstring(255, L'z'), 512)}, 183, L"default"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.name);
        ASSERT_EQ(PutRaw(c.name, c.raw), ERROR_SUCCESS);
        EXPECT_EQ(settings.ReadNumber(c.name, 183), c.number);
        EXPECT_EQ(settings.ReadText(c.name, L"default"), c.text);
    }
}

TEST(SyncDate, ConvertsLikeTheOleAutomationDate)
{
    EXPECT_EQ(CalendarDateOf(SyncDateRecord{1.5, 0}), (CalendarDate{1899, 12, 31}));
    EXPECT_EQ(CalendarDateOf(SyncDateRecord{45658.75, 0}), (CalendarDate{2025, 1, 1}));
    EXPECT_EQ(CalendarDateOf(SyncDateRecord{45658.0, 1}), CalendarDate{});
    EXPECT_EQ(CalendarDateOf(SyncDateRecord{1.0e10, 0}), CalendarDate{}) << "beyond year 9999";
}

// The settings rules over the real registry store, on the programs' own key.
using KavrinSettingsRegistry = KavrinKeyTest;
TEST_F(KavrinSettingsRegistry, SavedAndStoredValuesLoadBack)
{
    CSettingsKey store;
    ExpectSettingsRoundTrip(store);
}
