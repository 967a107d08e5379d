#include "mainwnd/KavrinSettings_win.h"

#include "common/SettingsKey_win.h"
#include "pool/PoolServerTable.h"

bool LoadKavrinSettings(KavrinSettings& settings)
{
    CSettingsKey key;
    if (!key.OpenKey(Settings::kKeyPath, false))
        return false;
    settings.SyncOnStart = key.ReadNumber(L"SyncOnStart", 0) != 0;
    settings.UseSound = key.ReadNumber(L"UseSound", 0) != 0;
    settings.CheckForUpdate = key.ReadNumber(L"CheckForUpdate", 0) != 0;
    settings.SyncOncePerDay = key.ReadNumber(L"SyncOncePerDay", 0) != 0;
    settings.UpdatePeriod = key.ReadNumber(L"UpdatePeriod", 183);
    settings.MinimizeOnSync = key.ReadNumber(L"MinimizeOnSync", 0) != 0;
    settings.CurrentServer = key.ReadText(L"CurrentServer", DefaultPoolServer());
    settings.ExitAfterSync = key.ReadNumber(L"ExitAfterSync", 0) != 0;
    settings.TimeToExit = key.ReadNumber(L"TimeToExit", 60000);
    return true;
}
