#include "update/SetupRules.h"

#include <gtest/gtest.h>

using namespace SetupRules;

namespace
{
std::string HexText(const KeyDigest& digest)
{
    std::string hex;
    for (const std::uint8_t byte : digest)
        hex += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15]};
    return hex;
}
} // namespace

TEST(SetupRules, OnlyAWholeProgramOfAtMost64MiBCounts)
{
    EXPECT_EQ(JudgeAnswer(200, std::nullopt), Refusal::None);
    EXPECT_EQ(JudgeAnswer(200, kMaxSetupBytes), Refusal::None);
    EXPECT_EQ(JudgeAnswer(200, kMaxSetupBytes + 1), Refusal::TooLarge);
    for (const unsigned long status : {204ul, 206ul, 302ul, 404ul, 0ul})
        EXPECT_EQ(JudgeAnswer(status, 1000), Refusal::NotFile) << status;

    EXPECT_EQ(JudgeContent("MZ\x90", 3), Refusal::None);
    EXPECT_EQ(JudgeContent("<!DOCTYPE html>", 15), Refusal::NotProgram);
    EXPECT_EQ(JudgeContent("M", 1), Refusal::NotProgram);
    EXPECT_EQ(JudgeContent("", 0), Refusal::NotProgram);
    EXPECT_EQ(JudgeContent("MZ", kMaxSetupBytes + 1), Refusal::TooLarge);
}

TEST(SetupRules, RedirectsStayOnTheSchemeHostAndPort)
{
    const std::wstring from = L"https://Download.Kavrin.example/KavrinSetup.exe";
    const std::pair<std::wstring, std::wstring> allowed[] = {
        {L"/files/KavrinSetup.exe", L"https://Download.Kavrin.example/files/KavrinSetup.exe"},
        {L"HTTPS://download.kavrin.example:443/a", L"HTTPS://download.kavrin.example:443/a"},
        {L"https://download.kavrin.example?x", L"https://download.kavrin.example?x"},
    };
    for (const auto& [location, target] : allowed)
        EXPECT_EQ(SameOriginTarget(from, location), target) << testing::PrintToString(location);
    for (const wchar_t* location :
         {L"http://download.kavrin.example/KavrinSetup.exe", L"https://download.kavrin.example:8443/a",
          L"https://evil.example/a", L"//evil.example/a", L"https://download.kavrin.example@evil.example/a",
          L"https://download.kavrin.example.evil.example/", L"KavrinSetup.exe", L"", L"https://:443/",
          L"https://[::1]/", L"file:///C:/x.exe"})
        EXPECT_FALSE(SameOriginTarget(from, location)) << testing::PrintToString(std::wstring(location));
    EXPECT_EQ(SameOriginTarget(L"http://127.0.0.1:8080/a", L"http://127.0.0.1:08080/b"), L"http://127.0.0.1:08080/b");
    EXPECT_FALSE(SameOriginTarget(L"http://127.0.0.1:8080/a", L"http://127.0.0.1/b"));
}

TEST(SetupRules, PublisherKeysAreCommaSeparatedSha256Digests)
{
    const std::string first(64, 'a');
    const std::string second = "00ff" + std::string(60, '1');
    const auto keys = ParsePublisherKeys(first + ", " + second);
    ASSERT_TRUE(keys && keys->size() == 2);
    EXPECT_EQ(HexText((*keys)[0]), first);
    EXPECT_EQ((*keys)[1][0], 0x00);
    EXPECT_EQ((*keys)[1][1], 0xff);
    EXPECT_EQ(HexText((*keys)[1]), second);
    EXPECT_TRUE(ParsePublisherKeys("") && ParsePublisherKeys("")->empty());
    for (const std::string& bad : {std::string(63, 'a'), std::string(65, 'a'), std::string(64, 'A'),
                                   std::string(64, 'g'), first + ",", "," + first, first + ",," + second})
        EXPECT_FALSE(ParsePublisherKeys(bad)) << bad;
}
