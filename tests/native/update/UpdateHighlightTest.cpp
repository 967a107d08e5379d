#include "update/UpdateCheck.h"
#include "update/UpdateHighlight.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace UpdateHighlight;

namespace
{
using Styled = std::pair<std::wstring, Style>;

constexpr unsigned long kRed = Rgb(220, 0, 0), kGreen = Rgb(0, 160, 0), kOrange = Rgb(255, 153, 0);
constexpr Style Bold(unsigned long c) { return {true, false, false, false, c}; }
constexpr Style BoldItalic(unsigned long c) { return {true, true, false, false, c}; }

const UpdateCheck::RunningProgram kRunning{{4, 2, 2, 5}, L"Kavrin", L"Time sync"};

std::vector<Styled> Apply(const Formatting& formatting, const std::wstring& text)
{
    std::vector<Styled> styled;
    for (const Span& span : formatting.spans)
        styled.push_back({text.substr(span.start, span.end - span.start), span.style});
    return styled;
}

// The message planned in `mode` for the version file `file`, highlighted as the control holds it.
std::vector<Styled> Highlighted(const std::string& file, UpdateMode mode)
{
    const UpdateCheck::Answer answer{true, file.size(), std::wstring(file.begin(), file.end())};
    const auto steps = UpdateCheck::Plan(answer, kRunning, {true, true, L"Kavrin"},
                                         [](std::uint32_t) { return std::wstring(L"March 05, 2024"); });
    const auto step = std::ranges::find(steps, mode, &UpdateCheck::DialogStep::mode);
    EXPECT_TRUE(step != steps.end()) << "no dialog in mode " << static_cast<int>(mode);
    const std::wstring text = ControlText(step != steps.end() ? step->message : L"");
    return Apply(ForMessage(mode, text), text);
}
} // namespace

TEST(UpdateHighlight, NewerPublishedMarksNamesVersionsDateAndChoices)
{
    const std::vector<Styled> expected = {
        {L"Kavrin", BoldItalic(kRed)}, {L"Kavrin", BoldItalic(kRed)}, {L"4.2.2.5", Bold(kRed)},
        {L"4.2.2.6", Bold(kRed)}, {L"March 05, 2024", Bold(kRed)},
        {L"You may update Kavrin now, download the newer version, go to the Halvanworks website or continue without "
         L"updating",
         Bold(kGreen)},
        {L"Kavrin", Bold(kRed)}, {L"update", BoldItalic(Rgb(0, 0, 128))}, {L"download", Bold(kOrange)},
        {L"Halvanworks website", Bold(kOrange)}, {L"continue", Bold(kOrange)},
    };
    EXPECT_EQ(Highlighted("9\n4\n2\n2\n6\n", UpdateMode::NewerPublished), expected);
}

TEST(UpdateHighlight, SameAndRunningNewerMarkBothVersionsAndTheClosingSentence)
{
    const Style phrase{false, true, true, false, Rgb(160, 119, 97)};
    const std::vector<Styled> same = {
        {L" Kavrin ", Bold(kRed)}, {L"Time sync", {false, true, false, false, Rgb(151, 92, 26)}},
        {L"4.2.2.5.\r\r", BoldItalic(kGreen)}, {L"which is the same as ", phrase}, {L"Version 4.2.2.5 ", Bold(kRed)},
        {L"There is no need to take any action.", BoldItalic(Rgb(255, 0, 0))},
    };
    EXPECT_EQ(Highlighted("4\n2\n2\n5\n", UpdateMode::Same), same);
    const auto newer = Highlighted("9\n4\n2\n2\n1\n", UpdateMode::RunningNewer);
    ASSERT_EQ(newer.size(), 7u);
    EXPECT_EQ(newer[3], (Styled{L"which is newer than ", {true, true, true, false, Rgb(160, 119, 97)}}));
    EXPECT_EQ(newer[5], (Styled{L"March 05, 2024,", Bold(Rgb(0, 0, 255))}));
}

TEST(UpdateHighlight, NoticeAndNotObtainedMarkTheirVersions)
{
    const std::vector<Styled> notice = {
        {L" Kavrin ", Bold(kRed)}, {L"Version 4.2.2.5", Bold(kGreen)}, {L"4.2.2.1", BoldItalic(kOrange)},
    };
    EXPECT_EQ(Highlighted("4.2.2.1\n", UpdateMode::PublisherNotice), notice);

    const std::vector<Styled> notObtained = {{L" Kavrin\r", Bold(kRed)}, {L"Kavrin 4.2.2.5", Bold(kGreen)}};
    EXPECT_EQ(Highlighted("", UpdateMode::NotObtained), notObtained);
}

TEST(UpdateHighlight, MissingAnchorsLeaveSpansOut)
{
    EXPECT_TRUE(ForMessage(UpdateMode::Same, L"nothing to see").spans.empty());
    EXPECT_TRUE(ForMessage(UpdateMode::NewerPublished, L"You are using").spans.empty());
}

TEST(UpdateHighlight, DownloadedViewMarksFileFolderAndChoices)
{
    const std::wstring text =
        ControlText(DownloadedMessage(L"KavrinSetup.exe", L"C:\\users\\k\\Downloads\\Halvanworks"));
    EXPECT_EQ(text, L"KavrinSetup.exe has been downloaded to: C:\\users\\k\\Downloads\\Halvanworks\rYou may install the "
                    L"update now, open the folder containing the update now, or update later.");
    const Formatting formatting = ForDownloaded(text);
    const std::vector<Styled> expected = {
        {L"KavrinSetup.exe", Bold(kGreen)},
        {L"C:\\users\\k\\Downloads\\Halvanworks", {false, true, true, false, Rgb(0, 0, 128)}},
        {L"install", {false, false, false, true, Rgb(160, 0, 0)}}, {L"open", {false, false, false, true, Rgb(160, 0, 0)}},
        {L"folder", {false, false, false, true, kOrange}},
        {L"update later", {false, false, false, true, Rgb(160, 0, 0)}},
    };
    EXPECT_EQ(Apply(formatting, text), expected);
}
