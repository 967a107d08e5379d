#include "Bytes.h"
#include "common/KavrinSettings.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/SettingsRoundTrip.h"
// What "Exit Kavrin" saves, and that it loads back, is checked on the real registry (SettingsKeyTest,
// KavrinCommandsTest).

#include <gtest/gtest.h>

#include <optional>

using Type = CMemorySettingsStore::Type;
using namespace Settings::Names;

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

TEST(KavrinSettings, OnceADayRecordIsReadOnlyWithTheKeyAndTheOptionOn)
{
    const SyncDateRecord record{46000.25, 0};
    const struct { const char* what; bool key; std::optional<int> syncOncePerDay; bool recordStored, recordRead; } cases[] = {
        {"no key", false, std::nullopt, false, false},
        {"option absent", true, std::nullopt, true, false},
        {"option off", true, 0, true, false},
        {"option on", true, 1, true, true},
        {"option on, no date", true, 1, false, false},
    };
    for (const auto& c : cases)
    {
        CMemorySettingsStore store;
        if (c.syncOncePerDay)
            store.PutRaw(SyncOncePerDay, Type::Binary, Bytes({*c.syncOncePerDay, 0, 0, 0}));
        if (const auto bytes = record.Encode(); c.recordStored)
            store.PutRaw(LastSyncDate, Type::Binary, {bytes.begin(), bytes.end()});
        if (c.key)
            store.OpenKey(Settings::kKeyPath, true);

        const auto read = ReadOnceADayRecord(store);
        EXPECT_EQ(read.value_or(SyncDateRecord{}).date, c.recordRead ? record.date : 0.0) << c.what;
        EXPECT_EQ(store.KeyExists(), c.key) << c.what;
    }
}
