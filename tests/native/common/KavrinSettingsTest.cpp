#include "common/KavrinSettings.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/SettingsRoundTrip.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <string>
#include <vector>

namespace
{
using Type = CMemorySettingsStore::Type;
using namespace Settings::Names;

std::vector<std::byte> Number(std::uint32_t value)
{
    const auto bytes = Settings::EncodeNumber(value);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::byte> Bytes(std::initializer_list<int> values)
{
    std::vector<std::byte> bytes;
    for (const int v : values)
        bytes.push_back(static_cast<std::byte>(v));
    return bytes;
}
} // namespace

TEST(KavrinSettings, MissingKeyLeavesTheInitialValuesAndAbsentValuesReadTheirDefaults)
{
    CMemorySettingsStore store;
    KavrinSettings settings;
    EXPECT_FALSE(LoadKavrinSettings(store, settings, L"pool.example"));
    EXPECT_EQ(SettingsFields(settings), SettingsFields(KavrinSettings{}));
    EXPECT_FALSE(store.KeyExists()) << "not created";

    store.OpenKey(Settings::kKeyPath, true);
    ASSERT_TRUE(LoadKavrinSettings(store, settings, L"ca.pool.example"));
    const KavrinSettings defaults{
        .SyncOnStart = false, .UpdatePeriod = 183, .CurrentServer = L"ca.pool.example", .TimeToExit = 60000};
    EXPECT_EQ(SettingsFields(settings), SettingsFields(defaults));
}

TEST(KavrinSettings, StoredValuesAreReadByTheirRules)
{
    CMemorySettingsStore store;
    store.PutRaw(SyncOnStart, Type::Binary, Number(2));
    store.PutRaw(UseSound, Type::Dword, Number(1));
    store.PutRaw(UpdatePeriod, Type::Binary, Bytes({1, 0, 0, 0, 0, 0, 0, 0}));
    store.PutRaw(CurrentServer, Type::Binary, Bytes({'a', 0, 0, 0}));
    store.PutRaw(TimeToExit, Type::Binary, Bytes({0x88, 0x13}));
    KavrinSettings settings;
    ASSERT_TRUE(LoadKavrinSettings(store, settings, L"default.example"));
    EXPECT_TRUE(settings.SyncOnStart) << "a stored 2 reads as on";
    EXPECT_TRUE(settings.UseSound);
    EXPECT_EQ(settings.UpdatePeriod, 183u) << "8 bytes are no number";
    EXPECT_EQ(settings.CurrentServer, L"default.example") << "binary data is no text";
    EXPECT_EQ(settings.TimeToExit, 5000u);
}

TEST(KavrinSettings, SaveOptionGroupWritesTheGroupInOrderWithAServerThatFits)
{
    const struct { std::size_t serverLength; bool serverWritten; } cases[] = {{0, true}, {254, true}, {255, false}};
    for (const auto& c : cases)
    {
        CMemorySettingsStore store;
        KavrinSettings settings;
        settings.CurrentServer.assign(c.serverLength, L's');
        SaveOptionGroup(store, settings);

        std::vector<std::wstring> expected{SyncOnStart, UseSound, CheckForUpdate, MinimizeOnSync};
        if (c.serverWritten)
            expected.emplace_back(CurrentServer);
        EXPECT_EQ(store.Writes(), expected) << "server of " << c.serverLength << " characters";
    }
}

TEST(KavrinSettings, SavedAndStoredValuesLoadBack)
{
    CMemorySettingsStore store;
    ExpectSettingsRoundTrip(store);
}

TEST(KavrinSettings, OnceADayRecordIsReadOnlyWithTheKeyAndTheOptionOn)
{
    const SyncDateRecord record{46000.25, 0};
    const struct { const char* what; bool key; std::optional<std::uint32_t> syncOncePerDay; bool recordStored, recordRead; } cases[] = {
        {"no key", false, std::nullopt, false, false},
        {"option absent", true, std::nullopt, true, false},
        {"option off", true, 0, true, false},
        {"option on", true, 1, true, true},
        {"option stored as 2", true, 2, true, true},
        {"option on, no date", true, 1, false, false},
    };
    for (const auto& c : cases)
    {
        CMemorySettingsStore store;
        if (c.syncOncePerDay)
            store.PutRaw(SyncOncePerDay, Type::Binary, Number(*c.syncOncePerDay));
        if (const auto bytes = record.Encode(); c.recordStored)
            store.PutRaw(LastSyncDate, Type::Binary, {bytes.begin(), bytes.end()});
        if (c.key)
            store.OpenKey(Settings::kKeyPath, true);

        const auto read = ReadOnceADayRecord(store);
        EXPECT_EQ(read.value_or(SyncDateRecord{}).date, c.recordRead ? record.date : 0.0) << c.what;
        EXPECT_EQ(store.KeyExists(), c.key) << c.what;
    }
}

TEST(ResetSettings, AreReadAsTheMainProgramReadsThemAndNeverCreateTheKey)
{
    CMemorySettingsStore store;
    const ResetSettings none = ReadResetSettings(store);
    EXPECT_EQ(std::tie(none.SyncOncePerDay, none.TimeToExit, none.ExitAfterSync), std::tuple(false, 0u, false));
    EXPECT_FALSE(store.KeyExists());
    store.PutRaw(SyncOncePerDay, Type::Binary, Number(2));
    store.PutRaw(ExitAfterSync, Type::Dword, Number(1));
    const ResetSettings read = ReadResetSettings(store);
    EXPECT_EQ(std::tie(read.SyncOncePerDay, read.TimeToExit, read.ExitAfterSync), std::tuple(true, 60000u, true))
        << "an absent TimeToExit is Kavrin's default delay";
}
