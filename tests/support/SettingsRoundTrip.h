#pragma once
// One round trip of the main window's settings through a store: the group
// saved on "Exit Kavrin" and the values stored at once come back as
// written, and UpdatePeriod and ResyncHours, which nothing writes, read
// their defaults. Run against the registry (SettingsKeyTest).

#include "common/KavrinSettings.h"

#include <gtest/gtest.h>

#include <tuple>

inline auto SettingsFields(const KavrinSettings& s)
{
    return std::tie(s.SyncOnStart, s.UseSound, s.CheckForUpdate, s.SyncOncePerDay, s.UpdatePeriod, s.MinimizeOnSync,
                    s.CurrentServer, s.ExitAfterSync, s.TimeToExit, s.KeepSynchronized, s.ResyncHours);
}

inline void ExpectSettingsRoundTrip(ISettingsStore& store)
{
    using namespace Settings::Names;
    const KavrinSettings saved{.SyncOnStart = true,
                               .UseSound = true,
                               .CheckForUpdate = true,
                               .SyncOncePerDay = true,
                               .UpdatePeriod = 183,
                               .MinimizeOnSync = true,
                               .CurrentServer = L"ntp.example.org",
                               .ExitAfterSync = true,
                               .TimeToExit = 45000,
                               .KeepSynchronized = true};
    SaveOptionGroup(store, saved);
    ASSERT_TRUE(StoreNumber(store, SyncOncePerDay, 1));
    ASSERT_TRUE(StoreNumber(store, ExitAfterSync, 1));
    ASSERT_TRUE(StoreNumber(store, TimeToExit, saved.TimeToExit));
    ASSERT_TRUE(StoreNumber(store, KeepSynchronized, 1));

    // Every field starts away from both the saved value and its default.
    KavrinSettings loaded{.SyncOnStart = false, .CurrentServer = L"before", .TimeToExit = 0, .ResyncHours = 0};
    ASSERT_TRUE(LoadKavrinSettings(store, loaded, L"unused.example"));
    EXPECT_EQ(SettingsFields(loaded), SettingsFields(saved));
}
