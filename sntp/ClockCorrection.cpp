#include "sntp/ClockCorrection.h"

#include <cmath>

ClockCorrection CorrectSystemClock(double offsetSeconds, IClockPlatform& platform)
{
    // Written so that an offset that is not a number is refused as well.
    if (!(std::fabs(offsetSeconds) < ClockRules::kRefusedOffsetSeconds))
        return ClockCorrection::Refused;

    // The offset is applied to the clock as read now, so the time since the
    // exchange is carried along; ToCalendar rounds to the millisecond.
    const CNtpTimestamp corrected = platform.ReadUtcClock().AddSeconds(offsetSeconds);

    PrivilegeRecord privilege;
    bool disableAfterwards = false;
    ClockCorrection outcome = ClockCorrection::Failed;
    bool setClock = true;

    if (!platform.OpenToken(ClockRules::kTokenAccess))
    {
        if (platform.LastError() != ClockRules::kErrorCallNotImplemented)
            return ClockCorrection::Failed;
        // No privilege model: the clock is set without one.
        platform.SetLastErrorCode(0);
    }
    else
    {
        if (!platform.LookUpPrivilege(ClockRules::kSystemTimePrivilege, privilege))
            return ClockCorrection::Failed;
        privilege.attributes |= ClockRules::kPrivilegeEnabled;
        // Marked before the call: a failed enabling is still undone.
        disableAfterwards = true;
        setClock = platform.AdjustPrivilege(privilege);
    }

    if (setClock && platform.SetUtcClock(corrected.ToCalendar()))
        outcome = ClockCorrection::Corrected;

    if (disableAfterwards)
    {
        privilege.attributes &= ~ClockRules::kPrivilegeEnabled;
        platform.AdjustPrivilege(privilege);
    }
    return outcome;
}
