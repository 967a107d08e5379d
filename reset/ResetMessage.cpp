#include "reset/ResetMessage.h"

namespace Reset
{
ResetChoice ChooseReset(const ResetSettings& settings)
{
    return ResetChoice{.SyncOncePerDay = settings.SyncOncePerDay,
                       .ExitAfterSync = settings.ExitAfterSync && settings.TimeToExit < kShortExitDelayMs};
}

std::wstring ComposeMessage(const ResetSettings& settings)
{
    const ResetChoice choice = ChooseReset(settings);
    const std::wstring first =
        choice.SyncOncePerDay
            ? std::wstring(L"Click OK to reset the Kavrin registry value \"") + Settings::Names::SyncOncePerDay +
                  L"\" to false. This will allow access to the Kavrin dialog from which program settings may be "
                  L"changed."
            : L"Kavrin is already set to allow program access whenever the program is run.";
    if (!choice.SyncOncePerDay && !choice.ExitAfterSync)
        return first + L" No further action is required.";
    if (!choice.ExitAfterSync)
        return first;
    return first + L"\r\nClicking OK will also cancel the " + kExitOption + L", allowing the short period of " +
           std::to_wstring(settings.TimeToExit / 1000) + L" seconds to be changed.";
}
} // namespace Reset
