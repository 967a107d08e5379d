#include "common/SyncDate_win.h"

#include <windows.h>
#include <oleauto.h>

CalendarDate CalendarDateOf(const SyncDateRecord& record)
{
    SYSTEMTIME time{};
    if (record.status != SyncDateRecord::kValid || !::VariantTimeToSystemTime(record.date, &time))
        return CalendarDate{};
    return CalendarDate{time.wYear, time.wMonth, time.wDay};
}

SyncDateRecord MakeSyncDateRecord(const std::tm& local)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(local.tm_year + 1900);
    time.wMonth = static_cast<WORD>(local.tm_mon + 1);
    time.wDay = static_cast<WORD>(local.tm_mday);
    time.wHour = static_cast<WORD>(local.tm_hour);
    time.wMinute = static_cast<WORD>(local.tm_min);
    time.wSecond = static_cast<WORD>(local.tm_sec);

    SyncDateRecord record{0.0, SyncDateRecord::kInvalid};
    SYSTEMTIME back{};
    if (::SystemTimeToVariantTime(&time, &record.date) && ::VariantTimeToSystemTime(record.date, &back) &&
        back.wYear == time.wYear && back.wMonth == time.wMonth && back.wDay == time.wDay &&
        back.wHour == time.wHour && back.wMinute == time.wMinute && back.wSecond == time.wSecond)
        record.status = SyncDateRecord::kValid;
    return record;
}
