#include "mainwnd/ExitTime.h"

#include <gtest/gtest.h>

using namespace ExitTime;

TEST(ExitTime, FieldReadsWholeSecondsFromThirtyToTheLargestThatFitsInMilliseconds)
{
    const struct
    {
        const wchar_t* text;
        std::uint32_t ms;
        bool rewrite;
    } cases[] = {
        {L"60", 60000, false},   {L" 0045", 45000, false},         {L"45x", 45000, false},
        {L"29", 30000, true},    {L"", 30000, true},               {L"  ", 30000, true},
        {L"-45", 30000, true},   {L"4294967", 4294967000u, false}, {L"5000000", 4294967000u, true},
        {L"99999999999999999999", 4294967000u, true},
    };
    for (const auto& c : cases)
    {
        const SecondsField field = ReadSecondsField(c.text);
        EXPECT_EQ(ToMilliseconds(field.seconds), c.ms) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(field.rewrite, c.rewrite) << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(ExitTime, ExplanationEndsWithTheDelayInMinutesAndSeconds)
{
    const std::wstring text = Explanation(90);
    EXPECT_EQ(text, L"Set the number of seconds following synchronization the program will remain running before "
                    L"exiting - minimum 30 seconds. The current time to exit is set at 1 min 30 seconds");
    EXPECT_EQ(text.substr(ExplanationLeadLength(text)), L" 1 min 30 seconds");
    EXPECT_EQ(TimeText(4294967), L"71582 min 47 seconds");
}
