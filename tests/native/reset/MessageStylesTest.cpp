#include "reset/MessageStyles.h"

#include "common/KavrinSettings.h"
#include "reset/ResetMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Reset::FindEveryWholeWord;

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

// That the box shows each range in its planned style is ResetKavrinStartDlg's check.
TEST(MessageStyles, PlanCoversTheWholeTextThenEachWordInOrder)
{
    const std::wstring text = Reset::AsBoxText(Reset::ComposeMessage({true, 5000, true}));
    const std::vector<std::wstring> expected = {
        text, L"Kavrin", L"Kavrin", L"OK", Settings::Names::SyncOncePerDay, L"program exit following synchronization"};
    std::vector<std::wstring> planned;
    const auto plan = Reset::PlanMessageStyles(text);
    for (const Reset::StyledRange& range : plan)
        planned.push_back(text.substr(range.start, range.end - range.start));
    EXPECT_EQ(planned, expected);
    EXPECT_EQ(plan.at(1).start, 22u) << "the first Kavrin that stands alone";
    EXPECT_EQ(plan.at(3).start, 6u) << "the first OK";
}
