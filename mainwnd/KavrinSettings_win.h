#pragma once
// The main window's working copies of the settings, named after their
// registry values. The initial values stand when the settings key is missing.

#include <cstdint>
#include <string>

struct KavrinSettings
{
    bool SyncOnStart = true;
    bool UseSound = false;
    bool CheckForUpdate = false;
    bool SyncOncePerDay = false;
    std::uint32_t UpdatePeriod = 0;
    bool MinimizeOnSync = false;
    std::wstring CurrentServer;
    bool ExitAfterSync = false;
    std::uint32_t TimeToExit = 60000;
};

// Reads every value of an existing settings key, each with its default;
// leaves `settings` as it is when the key cannot be opened.
bool LoadKavrinSettings(KavrinSettings& settings);
