#include "mainwnd/SyncReport.h"

#include <cwchar>
#include <string_view>

namespace
{
template <typename... Args>
std::wstring Format(const wchar_t* format, Args... args)
{
    wchar_t buffer[512];
    const int length = std::swprintf(buffer, std::size(buffer), format, args...);
    return length < 0 ? std::wstring() : std::wstring(buffer, static_cast<size_t>(length));
}

std::wstring FormatTime(const wchar_t* format, const std::tm& time)
{
    wchar_t buffer[128];
    const size_t length = std::wcsftime(buffer, std::size(buffer), format, &time);
    return std::wstring(buffer, length);
}
} // namespace

namespace SyncReport
{
std::wstring Caption(const std::wstring& serverName)
{
    const std::wstring serverLine = L"Time Server:\t" + serverName;
    return serverLine + L"\nTime Format:\tDay/Month/Year Hour/Minute/Second (GMT)";
}

std::wstring FormatDate(const CalendarRecord& utc)
{
    return Format(L"%02d/%02d/%04d, %02d:%02d:%02d.%02d", utc.day, utc.month, utc.year, utc.hour, utc.minute,
                  utc.second, utc.milliseconds);
}

std::wstring FormatSeconds(double seconds)
{
    return Format(L"%+lf seconds", seconds);
}

Rows ResultRows(const SntpResult& result)
{
    return Rows{{
        {kOriginateLabel, FormatDate(result.originateStamp.ToCalendar())},
        {kReceiveLabel, FormatDate(result.receiveStamp.ToCalendar())},
        {L"Server Transmit Date", FormatDate(result.transmitStamp.ToCalendar())},
        {L"Client Destination Date", FormatDate(result.destinationStamp.ToCalendar())},
        {L"Round trip delay", FormatSeconds(result.roundTripDelay)},
        {kOffsetLabel, FormatSeconds(result.localClockOffset)},
    }};
}

std::wstring NoReply(const std::wstring& server)
{
    return L"Time was NOT successfully retrieved from NTP server (" + server + L")";
}

std::wstring Corrected(double offset, const std::wstring& timeOfDay)
{
    return Format(L"Time Corrected by %+1.3lf seconds at %ls", offset, timeOfDay.c_str());
}

std::wstring TimeOfDay(const std::tm& local)
{
    return FormatTime(L"%I:%M:%S %p", local);
}

std::wstring Header(const std::tm& today, const std::wstring& server, const std::wstring& region)
{
    return FormatTime(L"%A %B %d, %Y", today) + L"\nSelected NTP Pool Project Virtual Server:\n" + server + L" - " +
           region;
}

std::wstring ExitAfterSyncText(std::uint32_t timeToExitMs)
{
    return L"Exit " + std::to_wstring(timeToExitMs / 1000) + L" seconds following synchronization";
}

std::wstring ConfigSummary(bool syncOnStart, bool startWithWindows, bool minimizeOnSync)
{
    std::wstring summary;
    if (syncOnStart)
        summary += L"Sync on Start, ";
    if (startWithWindows)
        summary += L"Start with Windows, ";
    if (minimizeOnSync)
        summary += L"Minimize after Sync";
    return summary;
}

std::optional<Rgb> RowTextColor(const std::wstring& label)
{
    if (label == kOffsetLabel)
        return Rgb{0, 0, 255};
    if (label == kOriginateLabel)
        return Rgb{255, 255, 0};
    if (label == kReceiveLabel)
        return Rgb{255, 0, 0};
    return std::nullopt;
}
} // namespace SyncReport
