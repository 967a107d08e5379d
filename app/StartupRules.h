#pragma once
// The decisions of start-up, free of any platform call.

#include "app/CmdLineParser.h"
#include "common/SettingsFormats.h"
#include "sntp/ClockCorrection.h"

// Any option whose (lower-cased) name contains "ws" forces the window.
bool HasForceWindowOption(const CCmdLineParser::OptionMap& options);

// Once a day: true when the last synchronisation fell on today's local date,
// so that the program ends at once. An unusable record or today's date
// unknown (all fields -1), or a record from an earlier year, never does.
bool IsAlreadySyncedToday(const CalendarDate& lastSync, const CalendarDate& today);

// "/sync" (any case): one synchronisation without a window.
bool HasSyncOption(const CCmdLineParser::OptionMap& options);

// The exit code of "/sync".
enum class SyncExitCode : int
{
    Corrected = 0,
    NoReply = 1,
    Refused = 2, // a difference of an hour or more
    ClockNotSet = 3,
};
SyncExitCode SyncExitCodeOf(bool answered, ClockCorrection outcome);

// The parameters an elevated relaunch passes on.
const wchar_t* RelaunchParameters(bool forceWindow, bool syncOnly = false);
