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

const wchar_t* RelaunchParameters(bool forceWindow)
{
    return forceWindow ? L"/ws" : L"";
}
