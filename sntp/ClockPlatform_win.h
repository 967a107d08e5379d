#pragma once
// The clock correction's calls into Win32: the system clock, the process
// token and its privileges, the thread's last error.

#include "framework/Handles_win.h"
#include "sntp/ClockCorrection.h"

class CWin32ClockPlatform final : public IClockPlatform
{
public:
    CNtpTimestamp ReadUtcClock() override;
    bool OpenToken(std::uint32_t access) override;
    bool LookUpPrivilege(const wchar_t* name, PrivilegeRecord& privilege) override;
    bool AdjustPrivilege(const PrivilegeRecord& privilege) override;
    bool SetUtcClock(const CalendarRecord& utc) override;
    std::uint32_t LastError() override;
    void SetLastErrorCode(std::uint32_t error) override;

private:
    CUniqueKernelHandle m_token;
};
