#include "common/KavrinSettings.h"

#include <cwchar>

namespace Settings
{
const ValueSpec* FindValue(const wchar_t* name) noexcept
{
    for (const ValueSpec& value : kValues)
    {
        if (std::wcscmp(value.name, name) == 0)
            return &value;
    }
    return nullptr;
}

std::uint32_t DefaultNumber(const wchar_t* name) noexcept
{
    const ValueSpec* value = FindValue(name);
    return value ? value->defaultNumber : 0;
}
} // namespace Settings

namespace
{
bool ReadFlag(const ISettingsStore& store, const wchar_t* name)
{
    return store.ReadNumber(name, Settings::DefaultNumber(name)) != 0;
}

std::uint32_t ReadNumber(const ISettingsStore& store, const wchar_t* name)
{
    return store.ReadNumber(name, Settings::DefaultNumber(name));
}
} // namespace

bool LoadKavrinSettings(ISettingsStore& store, KavrinSettings& settings, const std::wstring& defaultServer)
{
    using namespace Settings::Names;
    if (!store.OpenKey(Settings::kKeyPath, false))
        return false;
    settings.SyncOnStart = ReadFlag(store, SyncOnStart);
    settings.UseSound = ReadFlag(store, UseSound);
    settings.CheckForUpdate = ReadFlag(store, CheckForUpdate);
    settings.SyncOncePerDay = ReadFlag(store, SyncOncePerDay);
    settings.UpdatePeriod = ReadNumber(store, UpdatePeriod);
    settings.MinimizeOnSync = ReadFlag(store, MinimizeOnSync);
    settings.CurrentServer = store.ReadText(CurrentServer, defaultServer);
    settings.ExitAfterSync = ReadFlag(store, ExitAfterSync);
    settings.TimeToExit = ReadNumber(store, TimeToExit);
    settings.KeepSynchronized = ReadFlag(store, KeepSynchronized);
    settings.ResyncHours = ReadNumber(store, ResyncHours);
    return true;
}

void SaveOptionGroup(ISettingsStore& store, const KavrinSettings& settings)
{
    using namespace Settings::Names;
    if (!store.OpenKey(Settings::kKeyPath, true))
        return;
    store.WriteNumber(SyncOnStart, settings.SyncOnStart ? 1 : 0);
    store.WriteNumber(UseSound, settings.UseSound ? 1 : 0);
    store.WriteNumber(CheckForUpdate, settings.CheckForUpdate ? 1 : 0);
    store.WriteNumber(MinimizeOnSync, settings.MinimizeOnSync ? 1 : 0);
    if (settings.CurrentServer.size() <= Settings::kMaxTextLength)
        store.WriteText(CurrentServer, settings.CurrentServer);
}

bool StoreNumber(ISettingsStore& store, const wchar_t* name, std::uint32_t value)
{
    return store.OpenKey(Settings::kKeyPath, true) && store.WriteNumber(name, value);
}

bool StoreDateRecord(ISettingsStore& store, const wchar_t* name, const SyncDateRecord& record)
{
    return store.OpenKey(Settings::kKeyPath, true) && store.WriteDateRecord(name, record);
}

std::optional<SyncDateRecord> ReadOnceADayRecord(ISettingsStore& store)
{
    using namespace Settings::Names;
    if (!store.OpenKey(Settings::kKeyPath, false) || !ReadFlag(store, SyncOncePerDay))
        return std::nullopt;
    return store.ReadDateRecord(LastSyncDate);
}

ResetSettings ReadResetSettings(ISettingsStore& store)
{
    using namespace Settings::Names;
    ResetSettings settings;
    if (!store.OpenKey(Settings::kKeyPath, false))
        return settings;
    settings.SyncOncePerDay = ReadFlag(store, SyncOncePerDay);
    settings.TimeToExit = ReadNumber(store, TimeToExit);
    settings.ExitAfterSync = ReadFlag(store, ExitAfterSync);
    return settings;
}

void ApplyReset(ISettingsStore& store, const ResetChoice& choice)
{
    using namespace Settings::Names;
    if (!(choice.SyncOncePerDay || choice.ExitAfterSync) || !store.OpenKey(Settings::kKeyPath, true))
        return;
    if (choice.SyncOncePerDay)
        store.WriteNumber(SyncOncePerDay, 0);
    if (choice.ExitAfterSync)
        store.WriteNumber(ExitAfterSync, 0);
}
