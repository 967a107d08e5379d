#include "app/StartupRules.h"

#include <algorithm>

bool HasForceWindowOption(const CCmdLineParser::OptionMap& options)
{
    return std::any_of(options.begin(), options.end(),
                       [](const auto& option) { return option.first.find(L"ws") != std::wstring::npos; });
}

bool IsAlreadySyncedToday(const CalendarDate& lastSync, const CalendarDate& today)
{
    // Neither an unusable record nor an unknown today says "already done".
    if (lastSync.year < 0 || today.year < 0)
        return false;
    if (lastSync.year < today.year)
        return false;
    return lastSync == today;
}

bool HasSyncOption(const CCmdLineParser::OptionMap& options)
{
    return options.contains(L"sync");
}

SyncExitCode SyncExitCodeOf(bool answered, ClockCorrection outcome)
{
    if (!answered)
        return SyncExitCode::NoReply;
    switch (outcome)
    {
    case ClockCorrection::Corrected:
        return SyncExitCode::Corrected;
    case ClockCorrection::Refused:
        return SyncExitCode::Refused;
    case ClockCorrection::Failed:
        break;
    }
    return SyncExitCode::ClockNotSet;
}

const wchar_t* RelaunchParameters(bool forceWindow, bool syncOnly)
{
    if (syncOnly)
        return forceWindow ? L"/sync /ws" : L"/sync";
    return forceWindow ? L"/ws" : L"";
}
