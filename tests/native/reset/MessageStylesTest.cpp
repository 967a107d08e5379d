#include "reset/MessageStyles.h"

#include "common/KavrinSettings.h"
#include "reset/ResetMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Reset::FindEveryWholeWord;

// That no range covers a part of a word, or another case, is ResetStylesFuzz's check.
TEST(MessageStyles, WholeWordsMatchCaseAndStandAlone)
{
    const std::pair<std::wstring, std::vector<std::size_t>> cases[] = {
        {L"Kavrin", {0}},
        {L"(Kavrin) Kavrin's \"Kavrin\"\rKavrin_", {1, 9, 19, 27}},
        {L"Kavrin\u00e9 \u00e9Kavrin \u201cKavrin\u201d \u00d7Kavrin", {17, 26}},
    };
    for (const auto& [text, found] : cases)
        EXPECT_EQ(FindEveryWholeWord(text, L"Kavrin"), found) << testing::PrintToString(text);
}

TEST(MessageStyles, EverySearchAdvancesThroughALongText)
{
    std::wstring text;
    for (int i = 0; i < 5000; ++i)
        text += L"Kavrin ";
    const std::vector<std::size_t> found = FindEveryWholeWord(text, L"Kavrin");
    ASSERT_EQ(found.size(), 5000u);
    EXPECT_EQ(found.back(), text.size() - 7);
    EXPECT_TRUE(FindEveryWholeWord(text, L"").empty());
}

TEST(MessageStyles, LineBreaksCountOneCharacterAsInTheBox)
{
    EXPECT_EQ(Reset::AsBoxText(L"a\r\nb\r\n"), L"a\rb\r");
    EXPECT_EQ(Reset::AsBoxText(L"a\rb"), L"a\rb");
}

TEST(MessageStyles, PlanColoursTheWholeTextThenEachWordInOrder)
{
    const ResetSettings both{true, 5000, true};
    const std::wstring text = Reset::AsBoxText(Reset::ComposeMessage(both));
    const Reset::TextStyle navy{{0, 0, 128}, false, false};
    const Reset::TextStyle red{{255, 0, 0}, true, false};
    const std::pair<std::wstring, Reset::TextStyle> expected[] = {
        {text, navy},
        {L"Kavrin", red},
        {L"Kavrin", red},
        {L"OK", {{0, 192, 0}, true, false}},
        {Settings::Names::SyncOncePerDay, {{255, 0, 255}, true, true}},
        {L"program exit following synchronization", {{192, 192, 0}, true, true}},
    };
    const std::vector<Reset::StyledRange> plan = Reset::PlanMessageStyles(text);
    ASSERT_EQ(plan.size(), std::size(expected));
    for (std::size_t i = 0; i < plan.size(); ++i)
    {
        EXPECT_EQ(text.substr(plan[i].start, plan[i].end - plan[i].start), expected[i].first) << "range " << i;
        EXPECT_EQ(plan[i].style, expected[i].second) << "range " << i;
    }
    EXPECT_EQ(plan[1].start, 22u) << "the first Kavrin that stands alone";
    EXPECT_EQ(plan[3].start, 6u) << "the first OK";
}
