#include "update/DownloadProgress.h"
#include "update/MakerSites.h"
#include "update/ModulePath.h"
#include "update/ReleaseVersionFile.h"
#include "update/UpdateCheck.h"

#include <gtest/gtest.h>

#include <tuple>

using UpdateCheck::Answer;
using UpdateCheck::DialogStep;
using UpdateCheck::Request;

namespace
{
const UpdateCheck::RunningProgram kKavrin{{4, 2, 2, 5}, L"Kavrin", L"Kavrin Internet time synchronization"};
const UpdateCheck::RunningProgram kNewer{{4, 2, 3, 0}, L"Kavrin", L"Time sync"};

std::vector<DialogStep> PlanFor(const std::string& file, const UpdateCheck::RunningProgram& running, bool report,
                                bool publisher)
{
    const Answer answer{true, file.size(), std::wstring(file.begin(), file.end())};
    return UpdateCheck::Plan(answer, running, Request{report, publisher, L"Kavrin"},
                             [](std::uint32_t created) { return L"date " + std::to_wstring(created); });
}

std::vector<UpdateMode> Modes(const std::vector<DialogStep>& steps)
{
    std::vector<UpdateMode> modes;
    for (const DialogStep& step : steps)
        modes.push_back(step.mode);
    return modes;
}
} // namespace

TEST(UpdateCheck, ModesFollowTheAnswerAndTheFlags)
{
    using M = UpdateMode;
    const UpdateCheck::RunningProgram v4999{{4, 9, 9, 9}, L"Kavrin", L"d"};
    const struct { std::string file; const UpdateCheck::RunningProgram& running; bool report, publisher;
        std::vector<UpdateMode> modes; } cases[] = {
        {"1709596800\n4\n2\n2\n6\n", kKavrin, false, false, {M::NewerPublished}},
        {"4\n2\n2\n5\n", kKavrin, true, false, {M::Same}},
        {"4\n2\n2\n5\n", kKavrin, false, true, {}},
        {"4.2.2.9\n", kNewer, false, false, {}},
        {"4.2.2.9\n", kNewer, true, true, {M::RunningNewer, M::PublisherNotice}},
        {"4.2.2.5", kKavrin, true, false, {M::RunningNewer}},
        {"4.10.0.0\n", v4999, false, false, {M::NewerPublished}},
        {"4.2.2.6\n", kKavrin, true, true, {M::NewerPublished}},
        {"1709596800\r\n4\r\n2\r\n2\r\n7\r\n\r\n\r\n\r\n", kKavrin, false, false, {M::NotObtained}}, // 30 bytes
        {"", kKavrin, false, false, {M::NotObtained}},
        {"<!DOCTYPE html><p>x\n", kKavrin, true, true, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Modes(PlanFor(c.file, c.running, c.report, c.publisher)), c.modes) << c.file;
    const Answer errorPage{false, 10, L"4.2.2.6\n"};
    EXPECT_EQ(Modes(UpdateCheck::Plan(errorPage, kKavrin, {}, {})), std::vector{M::NotObtained});
}

TEST(UpdateCheck, MessagesOfEachMode)
{
    EXPECT_EQ(PlanFor("1709596800\n4\n2\n2\n6\n", kKavrin, false, false).at(0).message,
              L"There is a newer version of Kavrin available. You are using Kavrin Version 4.2.2.5 and Version 4.2.2.6 "
              L"is available, created on date 1709596800. \r\n\r\nYou may update Kavrin now, download the newer "
              L"version, go to the Halvanworks website or continue without updating.");
    EXPECT_EQ(PlanFor("4\n2\n2\n5\n", kKavrin, true, false).at(0).message,
              L"You are using Kavrin (Kavrin Internet time synchronization), Version 4.2.2.5.\r\n\r\nwhich is the same "
              L"as Version 4.2.2.5  identified as the most current on the Halvanworks website. There is no need to "
              L"take any action.");
    const auto both = PlanFor("7\n4\n2\n2\n9\n", kNewer, true, true);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0].message,
              L"You are using Kavrin (Time sync), Version 4.2.3.0.\r\n\r\nwhich is newer than Version 4.2.2.9 , created "
              L"on date 7,  identified as the most current on the Halvanworks website.\r\nPlease contact Halvanworks "
              L"indicating how you obtained your version of the software.");
    EXPECT_EQ(both[1].message, L"This newer version of Kavrin (Version 4.2.3.0) has not been uploaded to the "
                               L"Halvanworks website. The version on the website is 4.2.2.9");
}

TEST(UpdateCheck, EmptyProgramNameTakesTheModuleName)
{
    EXPECT_EQ(UpdateCheck::VersionBaseName(L"", L"Kavrin"), L"Kavrin");
    EXPECT_EQ(UpdateCheck::SetupFileName(L""), L"Setup.exe");
    const auto steps = UpdateCheck::Plan({true, 0, L""}, kKavrin, Request{false, false, L""}, {});
    EXPECT_EQ(steps.at(0).message,
              L"Unable to obtain version information from the Halvanworks website for: \nUsing: Kavrin 4.2.2.5");
}

TEST(UpdateCheck, LongDateNamesTheMonth)
{
    std::tm local{};
    std::tie(local.tm_mday, local.tm_mon, local.tm_year) = std::tuple(5, 2, 124);
    EXPECT_EQ(UpdateCheck::LongDate(local), L"March 05, 2024");
}

TEST(MakerSites, PathsAreAppendedToEachOrigin)
{
    const MakerSites sites{L"https://update.example", L"http://127.0.0.1:8080/", L"https://www.example",
                           L"help@example"};
    EXPECT_EQ(SiteAddress::VersionFile(sites, L"Kavrin"), L"https://update.example/Halvanworks/KavrinVersion.txt");
    EXPECT_EQ(SiteAddress::Setup(sites, L"KavrinSetup.exe"), L"http://127.0.0.1:8080/KavrinSetup.exe");
}

TEST(ModulePath, SplitsLikeTheRuntime)
{
    EXPECT_EQ(SplitPath(L"C:\\Work\\Project\\Kavrin\\Release\\Kavrin.exe"),
              (PathParts{L"C:", L"\\Work\\Project\\Kavrin\\Release\\", L"Kavrin", L".exe"}));
    EXPECT_EQ(SplitPath(L"Kavrin.tar.gz"), (PathParts{L"", L"", L"Kavrin.tar", L".gz"}));
    EXPECT_EQ(SplitPath(L"C:\\" + std::wstring(256, L'k') + L".exe"), std::nullopt);
}

TEST(ReleaseVersionFile, OnlyAReleaseFolderOfAProjectTreeHasATarget)
{
    const struct { const wchar_t* directory; std::optional<ReleaseVersionFile::Target> target; } cases[] = {
        {L"\\Work\\Project\\Kavrin\\Release\\",
         ReleaseVersionFile::Target{L"C:\\Work\\Project\\Kavrin\\KavrinSetup",
                                    L"C:\\Work\\Project\\Kavrin\\KavrinSetup\\KavrinVersion.txt"}},
        {L"\\Project\\Release\\x64\\Release\\",
         ReleaseVersionFile::Target{L"C:\\Project\\KavrinSetup", L"C:\\Project\\KavrinSetup\\KavrinVersion.txt"}},
        {L"\\Tools\\", std::nullopt},
        {L"\\Work\\Project\\Kavrin\\Debug\\", std::nullopt},
        {L"\\Work\\Project\\Kavrin\\release\\", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReleaseVersionFile::TargetFor({L"C:", c.directory, L"Kavrin", L".exe"}, L"Kavrin"), c.target);
    EXPECT_EQ(ReleaseVersionFile::BaseName(L"", L"", L"k"), L"k");
}

TEST(DownloadProgress, PercentOfAKnownSizeElseTheByteCount)
{
    using DownloadProgress::Step;
    EXPECT_EQ(DownloadProgress::After(1, 3), (Step{L"33%", 33}));
    EXPECT_EQ(DownloadProgress::After(1200, 1000), (Step{L"100%", 100}));
    EXPECT_EQ(DownloadProgress::After(1024, std::nullopt), (Step{L"1024 bytes", 0}));
    EXPECT_FALSE(DownloadProgress::IsComplete(999, 1000));
    EXPECT_TRUE(DownloadProgress::IsComplete(7, std::nullopt));
}
