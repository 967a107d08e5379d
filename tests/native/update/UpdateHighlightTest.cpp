#include "update/UpdateCheck.h"
#include "update/UpdateHighlight.h"

#include <gtest/gtest.h>

#include <algorithm>

// Which parts of each message are marked, in order; that the dialog shows each span in its
// style is UpdateDlgTest's check.
using namespace UpdateHighlight;
using Texts = std::vector<std::wstring>;

namespace
{
Texts Marked(const Formatting& formatting, const std::wstring& text)
{
    Texts marked;
    for (const Span& span : formatting.spans)
        marked.push_back(text.substr(span.start, span.end - span.start));
    return marked;
}

// The message planned in `mode` for the version file `file`, as the control holds it.
Texts Marked(const std::string& file, UpdateMode mode)
{
    const UpdateCheck::RunningProgram running{{4, 2, 2, 5}, L"Kavrin", L"Time sync"};
    const UpdateCheck::Answer answer{true, file.size(), std::wstring(file.begin(), file.end())};
    const auto steps = UpdateCheck::Plan(answer, running, {true, true, L"Kavrin"},
                                         [](std::uint32_t) { return std::wstring(L"March 05, 2024"); });
    const auto step = std::ranges::find(steps, mode, &UpdateCheck::DialogStep::mode);
    EXPECT_TRUE(step != steps.end()) << "no dialog in mode " << static_cast<int>(mode);
    const std::wstring text = ControlText(step != steps.end() ? step->message : L"");
    return Marked(ForMessage(mode, text), text);
}
} // namespace

TEST(UpdateHighlight, EachMessageMarksNamesVersionsDateAndChoices)
{
    EXPECT_EQ(Marked("9\n4\n2\n2\n6\n", UpdateMode::NewerPublished),
              (Texts{L"Kavrin", L"Kavrin", L"4.2.2.5", L"4.2.2.6", L"March 05, 2024",
                     L"You may update Kavrin now, download the newer version, go to the Halvanworks website or "
                     L"continue without updating",
                     L"Kavrin", L"update", L"download", L"Halvanworks website", L"continue"}));
    EXPECT_EQ(Marked("4\n2\n2\n5\n", UpdateMode::Same),
              (Texts{L" Kavrin ", L"Time sync", L"4.2.2.5.\r\r", L"which is the same as ", L"Version 4.2.2.5 ",
                     L"There is no need to take any action."}));
    EXPECT_EQ(Marked("9\n4\n2\n2\n1\n", UpdateMode::RunningNewer),
              (Texts{L" Kavrin ", L"Time sync", L"4.2.2.5.\r\r", L"which is newer than ", L"Version 4.2.2.1",
                     L"March 05, 2024,",
                     L"Please contact Halvanworks indicating how you obtained your version of the software."}));
    EXPECT_EQ(Marked("4.2.2.1\n", UpdateMode::PublisherNotice), (Texts{L" Kavrin ", L"Version 4.2.2.5", L"4.2.2.1"}));
    EXPECT_EQ(Marked("", UpdateMode::NotObtained), (Texts{L" Kavrin\r", L"Kavrin 4.2.2.5"}));
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
    EXPECT_EQ(Marked(ForDownloaded(text), text), (Texts{L"KavrinSetup.exe", L"C:\\users\\k\\Downloads\\Halvanworks",
                                                        L"install", L"open", L"folder", L"update later"}));
}
