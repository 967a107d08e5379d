#pragma once
// The texts of a synchronisation run and of the window's summary lines.
// Pure: the window calls these and puts the results on screen.

#include "sntp/SntpPacket.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace SyncReport
{
struct Row
{
    std::wstring label;
    std::wstring value;
};
using Rows = std::array<Row, 6>;

inline constexpr wchar_t kOffsetLabel[] = L"Local Clock offset";
inline constexpr wchar_t kOriginateLabel[] = L"Client Originate Date";
inline constexpr wchar_t kReceiveLabel[] = L"Server Receive Date";
inline constexpr wchar_t kBalloonTitle[] = L"Time Synchronization:";
inline constexpr wchar_t kRefused[] =
    L"The time difference was greater was 1 hour, the system clock was not synchronized.";
inline constexpr wchar_t kFailed[] = L"Synchronization failed.";

// The caption above the results: the server and the time format.
std::wstring Caption(const std::wstring& serverName);
// "DD/MM/YYYY, hh:mm:ss.ms" with at least two digits of milliseconds.
std::wstring FormatDate(const CalendarRecord& utc);
// A signed number of seconds with six decimals.
std::wstring FormatSeconds(double seconds);
// The six rows: the four dates in UTC, the delay and the offset.
Rows ResultRows(const SntpResult& result);

std::wstring NoReply(const std::wstring& server);
std::wstring Corrected(double offset, const std::wstring& timeOfDay);
// "hh:mm:ss AM" on the 12-hour clock.
std::wstring TimeOfDay(const std::tm& local);

// The header: today's date, the server and the region it belongs to.
std::wstring Header(const std::tm& today, const std::wstring& server, const std::wstring& region);
// The exit check box names the delay in whole seconds.
std::wstring ExitAfterSyncText(std::uint32_t timeToExitMs);
// The options line: the pieces keep their trailing comma and blank.
std::wstring ConfigSummary(bool syncOnStart, bool startWithWindows, bool minimizeOnSync);

struct Rgb
{
    unsigned char red, green, blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
// The text colour of a result row, chosen by its label; none keeps the
// list's own colour.
std::optional<Rgb> RowTextColor(const std::wstring& label);
inline constexpr Rgb kResultsBackground{200, 184, 161};
} // namespace SyncReport
