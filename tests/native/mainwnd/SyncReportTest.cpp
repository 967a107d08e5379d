#include "mainwnd/SyncReport.h"

#include <gtest/gtest.h>

using namespace SyncReport;

static std::tm Local(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900, t.tm_mon = month - 1, t.tm_mday = day;
    t.tm_hour = hour, t.tm_min = minute, t.tm_sec = second;
    std::mktime(&t); // fills in the day of the week
    return t;
}

TEST(SyncReport, DatesPrintDayFirstWithAtLeastTwoMillisecondDigits)
{
    const std::pair<CalendarRecord, const wchar_t*> cases[] = {
        {{2026, 12, 0, 6, 9, 5, 3, 7}, L"06/12/2026, 09:05:03.07"},
        {{2026, 1, 4, 31, 23, 59, 59, 123}, L"31/01/2026, 23:59:59.123"},
    };
    for (const auto& [utc, text] : cases)
        EXPECT_EQ(FormatDate(utc), text);
}

TEST(SyncReport, RowsComeInOrderWithSignedSeconds)
{
    const Rows rows = ResultRows({.originateStamp = CNtpTimestamp(100u, 0u), .receiveStamp = CNtpTimestamp(101u, 0u),
                                  .transmitStamp = CNtpTimestamp(101u, 0x80000000u), .destinationStamp = {},
                                  .roundTripDelay = 0.045123, .localClockOffset = -0.9});
    const wchar_t* labels[] = {L"Client Originate Date", L"Server Receive Date", L"Server Transmit Date",
                               L"Client Destination Date", L"Round trip delay", L"Local Clock offset"};
    ASSERT_EQ(rows.size(), std::size(labels));
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].label, labels[i]);
    EXPECT_EQ(rows[4].value, L"+0.045123 seconds");
    EXPECT_EQ(rows[5].value, L"-0.900000 seconds");
    EXPECT_EQ(rows[2].value.substr(rows[2].value.size() - 7), L":57.500") << "half a second in the fraction";
}

TEST(SyncReport, TextsAndRowColours)
{
    EXPECT_EQ(NoReply(L"127.0.0.2"), L"Time was NOT successfully retrieved from NTP server (127.0.0.2)");
    EXPECT_EQ(Corrected(0.0004, L"01:03:00 PM"), L"Time Corrected by +0.000 seconds at 01:03:00 PM");
    EXPECT_EQ(Corrected(-1.23456, L"09:00:00 AM"), L"Time Corrected by -1.235 seconds at 09:00:00 AM");
    EXPECT_EQ(TimeOfDay(Local(2026, 12, 6, 0, 5, 9)), L"12:05:09 AM");
    EXPECT_EQ(Caption(L"localhost"), L"Time Server:\tlocalhost\nTime Format:\tDay/Month/Year Hour/Minute/Second (GMT)");
    EXPECT_EQ(Header(Local(2026, 12, 6, 12, 0, 0), L"ca.pool.ntp.org", L"Canada"),
              L"Sunday December 06, 2026\nSelected NTP Pool Project Virtual Server:\nca.pool.ntp.org - Canada");
    EXPECT_EQ(ExitAfterSyncText(90500), L"Exit 90 seconds following synchronization");
    EXPECT_EQ(ConfigSummary(true, false, false), L"Sync on Start, ");
    EXPECT_EQ(ConfigSummary(true, true, true), L"Sync on Start, Start with Windows, Minimize after Sync");
    EXPECT_EQ(RowTextColor(L"Local Clock offset"), (Rgb{0, 0, 255}));
    EXPECT_EQ(RowTextColor(L"Client Originate Date"), (Rgb{255, 255, 0}));
    EXPECT_EQ(RowTextColor(L"local clock offset"), std::nullopt);
}
