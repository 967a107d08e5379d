#include "app/StartupRules.h"

#include <algorithm>

bool HasForceWindowOption(const CCmdLineParser::OptionMap& options)
{
    return std::any_of(options.begin(), options.end(),
                       [](const auto& option) { return option.first.find(L"ws") != std::wstring::npos; });
}

bool IsAlreadySyncedToday(const CalendarDate& lastSync, const CalendarDate& today)
{
    if (lastSync.year < today.year)
        return false;
    return lastSync == today;
}

const wchar_t* RelaunchParameters(bool forceWindow)
{
    return forceWindow ? L"/ws" : L"";
}
