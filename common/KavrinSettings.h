#pragma once
// The settings of Kavrin, shared with the reset utility: every value under
// the settings key with its name, format and default, and the rules by
// which the programs read and store them. Pure: the rules run over any
// ISettingsStore.

#include "common/SettingsStore.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Settings
{
// The value names, the only place they are spelled out.
namespace Names
{
inline constexpr wchar_t SyncOnStart[] = L"SyncOnStart";
inline constexpr wchar_t UseSound[] = L"UseSound";
inline constexpr wchar_t CheckForUpdate[] = L"CheckForUpdate";
inline constexpr wchar_t SyncOncePerDay[] = L"SyncOncePerDay";
inline constexpr wchar_t UpdatePeriod[] = L"UpdatePeriod";
inline constexpr wchar_t MinimizeOnSync[] = L"MinimizeOnSync";
inline constexpr wchar_t CurrentServer[] = L"CurrentServer";
inline constexpr wchar_t ExitAfterSync[] = L"ExitAfterSync";
inline constexpr wchar_t TimeToExit[] = L"TimeToExit";
inline constexpr wchar_t LastSyncDate[] = L"LastSyncDate";
inline constexpr wchar_t KeepSynchronized[] = L"KeepSynchronized";
inline constexpr wchar_t ResyncHours[] = L"ResyncHours";
} // namespace Names

enum class Format
{
    // A number of up to 4 bytes, REG_BINARY; non-zero means on.
    Flag,
    Number,
    // REG_SZ of at most kMaxTextLength characters.
    Text,
    // The 12-byte sync date record.
    DateRecord,
};

struct ValueSpec
{
    const wchar_t* name;
    Format format;
    // The number a missing value reads as (texts and dates: see below).
    std::uint32_t defaultNumber;
};

// Every value, in the order the main window reads them. A missing
// CurrentServer reads as the default pool server; a missing LastSyncDate
// means no synchronisation on record.
inline constexpr ValueSpec kValues[] = {
    {Names::SyncOnStart, Format::Flag, 0},     {Names::UseSound, Format::Flag, 0},
    {Names::CheckForUpdate, Format::Flag, 0},  {Names::SyncOncePerDay, Format::Flag, 0},
    {Names::UpdatePeriod, Format::Number, 183}, {Names::MinimizeOnSync, Format::Flag, 0},
    {Names::CurrentServer, Format::Text, 0},   {Names::ExitAfterSync, Format::Flag, 0},
    {Names::TimeToExit, Format::Number, 60000}, {Names::LastSyncDate, Format::DateRecord, 0},
    {Names::KeepSynchronized, Format::Flag, 0}, {Names::ResyncHours, Format::Number, 24},
};

// The spec of `name`; null for a name that is not one of the settings.
const ValueSpec* FindValue(const wchar_t* name) noexcept;
std::uint32_t DefaultNumber(const wchar_t* name) noexcept;
} // namespace Settings

// The main window's working copies, named after their values. The initial
// values stand when the settings key is missing.
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
    // Synchronise again every ResyncHours hours, and after a resume, while
    // the window runs; stored at once.
    bool KeepSynchronized = false;
    std::uint32_t ResyncHours = 24;
};

// Reads every value of an existing settings key, each with its default
// (`defaultServer` for CurrentServer); leaves `settings` as it is and
// answers false when the key cannot be opened. Never creates the key.
bool LoadKavrinSettings(ISettingsStore& store, KavrinSettings& settings, const std::wstring& defaultServer);

// The group kept only when the window is left through "Exit Kavrin":
// SyncOnStart, UseSound, CheckForUpdate, MinimizeOnSync and CurrentServer,
// in that order, the key created if need be. A server text longer than the
// store takes is left out; other failures are dropped silently.
void SaveOptionGroup(ISettingsStore& store, const KavrinSettings& settings);

// One value stored at once (the key created if need be); false when the
// key or the value could not be written.
bool StoreNumber(ISettingsStore& store, const wchar_t* name, std::uint32_t value);
bool StoreDateRecord(ISettingsStore& store, const wchar_t* name, const SyncDateRecord& record);

// Start-up's once-a-day inputs: the stored date of the last
// synchronisation, only when the key exists and SyncOncePerDay is on.
std::optional<SyncDateRecord> ReadOnceADayRecord(ISettingsStore& store);

// The three values the reset utility looks at. All false or 0 when the key
// is missing; a value that is missing or unreadable in an existing key reads
// as the main program reads it.
struct ResetSettings
{
    bool SyncOncePerDay = false;
    std::uint32_t TimeToExit = 0;
    bool ExitAfterSync = false;
};
ResetSettings ReadResetSettings(ISettingsStore& store);

// The options that the reset switches off.
struct ResetChoice
{
    bool SyncOncePerDay = false;
    bool ExitAfterSync = false;
};
// Stores 0 for each chosen option; the key is created only when there is
// something to write, and a failed write is skipped.
void ApplyReset(ISettingsStore& store, const ResetChoice& choice);
