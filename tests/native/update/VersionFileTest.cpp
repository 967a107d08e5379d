#include "update/VersionFile.h"

#include <gtest/gtest.h>

using VersionFile::Published;

TEST(VersionFile, LayoutFollowsTheNumberOfLineFeeds)
{
    const std::pair<const wchar_t*, Published> cases[] = {
        {L"1709596800\r\n4\r\n2\r\n2\r\n6\r\n", {{4, 2, 2, 6}, 1709596800}},
        {L"17\n4\n2\n2\n6\n99\n", {{4, 2, 2, 6}, 17}},
        {L"4\n2\n2\n5\n7", {{4, 2, 2, 5}, 0}},
        {L"4.2.2.9\n", {{4, 2, 2, 9}, 0}},
        {L"4.2.2.9\r\n\n\n", {{4, 2, 2, 9}, 0}},
        {L"4.2.2.5", {{0, 0, 0, 0}, 0}},
        {L"", {{0, 0, 0, 0}, 0}},
        // Numbers as scanf reads them.
        {L" 4.  2.+2.7x\n", {{4, 2, 2, 7}, 0}},
        {L"4.2 .2.9\n", {{4, 2, 0, 0}, 0}},
        {L".4.2.2\n", {{0, 0, 0, 0}, 0}},
        {L"4.2\n", {{4, 2, 0, 0}, 0}},
        {L"x\n4\nz\n  3abc\n", {{0, 4, 0, 3}, 0}},
        {L"4\n-1\n2\n99999999999\n", {{4, 0xFFFFFFFFu, 2, 0x7FFFFFFFu}, 0}},
        {L"-1\n1\n2\n3\n4\n", {{1, 2, 3, 4}, 0xFFFFFFFFu}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(VersionFile::Parse(text), expected) << testing::PrintToString(std::wstring(text));
}

TEST(VersionFile, WebPagesBeginWithAMarkupDeclaration)
{
    EXPECT_TRUE(VersionFile::IsWebPage(L"<!DOCTYPE html><p>"));
    EXPECT_FALSE(VersionFile::IsWebPage(L" <!DOCTYPE"));
    EXPECT_FALSE(VersionFile::IsWebPage(L"<html>"));
}

TEST(VersionFile, WrittenFileIsFiveCrLfLinesThatReadBack)
{
    const std::string text = VersionFile::Format(1709596800u, {4, 2, 2, 5});
    EXPECT_EQ(text, "1709596800\r\n4\r\n2\r\n2\r\n5\r\n");
    const std::wstring wide(text.begin(), text.end());
    EXPECT_EQ(VersionFile::Parse(wide), (Published{{4, 2, 2, 5}, 1709596800}));
}
