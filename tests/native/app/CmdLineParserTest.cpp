#include "app/CmdLineParser.h"
#include "app/StartupRules.h"

#include <gtest/gtest.h>

static CCmdLineParser::OptionMap Parse(const std::wstring& text)
{
    CCmdLineParser parser;
    parser.ParseCommandLine(text);
    return parser.GetOptions();
}

TEST(CmdLineParser, FollowsTheGrammar)
{
    struct Case { const wchar_t* commandLine; CCmdLineParser::OptionMap expected; };
    const Case cases[] = {
        {L"Kavrin.exe", {}}, {L"Kavrin.exe -WS", {{L"ws", L""}}}, {L"Kavrin.exe /Name:Value", {{L"name", L"Value"}}},
        {L"k /a:\"with blanks\" /b", {{L"a", L"with blanks"}, {L"b", L""}}}, {L"k /", {}}, {L"k -", {}},
        {L"k /a:\"unterminated value", {{L"a", L"unterminated value"}}}, {L"k /a:\"\"", {{L"a", L""}}},
        {L"k /end:", {{L"end", L""}}}, {L"k /:value /x", {{L"x", L""}}}, // an empty name stores nothing
        {L"k /a:1 /A:2", {{L"a", L"1"}}}, // the first value of a repeated name stays
        // Options are found inside the program's own path too; the first dash or slash takes the rest of the word.
        {L"\"C:\\Program Files\\Kavrin-Dev\\Kavrin.exe\"", {{L"dev\\kavrin.exe\"", L""}}},
        {L"\"C:/My-Tools/Kavrin.exe\" /ws", {{L"my-tools/kavrin.exe\"", L""}, {L"ws", L""}}},
        {L"C:\\x\\a-b:c d", {{L"b", L"c"}}},
    };
    CCmdLineParser parser; // one parser for every line: no option of an earlier line stays
    for (const auto& c : cases)
    {
        parser.ParseCommandLine(c.commandLine);
        EXPECT_EQ(parser.GetOptions(), c.expected) << testing::PrintToString(std::wstring(c.commandLine));
    }
}

TEST(StartupRules, AnyOptionContainingWsForcesTheWindow)
{
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"Kavrin.exe", false}, {L"Kavrin.exe /ws:x", true}, {L"Kavrin.exe /news", true}, {L"k /w /s", false},
        {L"C:\\news\\Kavrin.exe", false}, {L"C:\\Tools-WSX\\Kavrin.exe", true}, {L"k /x:ws", false},
    };
    for (const auto& [commandLine, forces] : cases)
        EXPECT_EQ(HasForceWindowOption(Parse(commandLine)), forces)
            << testing::PrintToString(std::wstring(commandLine));
    // The elevated copy is started with the window forced, or "/sync", exactly when this one was.
    for (const bool forced : {true, false})
        for (const bool sync : {true, false})
        {
            const auto options = Parse(std::wstring(L"Kavrin.exe ") + RelaunchParameters(forced, sync));
            EXPECT_TRUE(HasForceWindowOption(options) == forced && HasSyncOption(options) == sync) << forced << sync;
        }
    EXPECT_TRUE(HasSyncOption(Parse(L"k /SYNC")) && !HasSyncOption(Parse(L"k /synced")));
}

TEST(StartupRules, SyncExitCodeTellsHowTheRunEnded)
{
    using enum ClockCorrection;
    EXPECT_EQ(SyncExitCodeOf(true, Corrected), SyncExitCode::Corrected);
    EXPECT_EQ(SyncExitCodeOf(false, Corrected), SyncExitCode::NoReply);
    EXPECT_EQ(SyncExitCodeOf(true, Refused), SyncExitCode::Refused);
    EXPECT_EQ(SyncExitCodeOf(true, Failed), SyncExitCode::ClockNotSet);
}

TEST(StartupRules, OnceADayEndsOnlyOnTheSameLocalDate)
{
    const CalendarDate today{2026, 12, 6}, unknown{};
    EXPECT_TRUE(IsAlreadySyncedToday(today, today));
    const std::pair<CalendarDate, CalendarDate> notToday[] = {
        {{2026, 12, 5}, today}, {{2025, 12, 6}, today}, {{2026, 11, 6}, today}, {unknown, today}, {today, unknown},
    };
    for (const auto& [last, now] : notToday)
        EXPECT_FALSE(IsAlreadySyncedToday(last, now)) << last.year << "-" << last.month << "-" << last.day;
}
