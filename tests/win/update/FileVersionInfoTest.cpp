// The version resource reader on real files: the program and a module with two translations.

#include "tests/support/win/ProcessRunner.h"
#include "update/FileVersionInfo_win.h"

#include <gtest/gtest.h>

using Key = CFileVersionInfo::Key;

TEST(FileVersionInfo, TranslationFollowsTheUsersLanguage)
{
    const struct { LANGID user; const wchar_t* product; const wchar_t* company; } cases[] = {
        {0x0C0C, L"Produit", L"Halvanworks Canada"},
        {0x0419, L"Product", L"Halvanworks"}, // English before the first entry
    };
    const std::wstring path = TestProgramFolder() + L"VersionTranslations.dll";
    for (const auto& c : cases)
    {
        CFileVersionInfo info;
        ASSERT_TRUE(info.ReadFromFile(path, c.user));
        EXPECT_EQ(info.GetProductName(), c.product) << "user " << c.user;
        EXPECT_EQ(info.GetString(Key::CompanyName), c.company) << "user " << c.user;
        EXPECT_EQ(info.GetString(Key::Comments), L"") << "an empty value reads as empty";
        EXPECT_EQ(info.GetFileVersion(), (VersionQuad{1, 2, 3, 4}));
        EXPECT_EQ(info.GetProductVersion(), (VersionQuad{5, 6, 7, 8}));
    }
}

TEST(FileVersionInfo, ReadsTheProgramsOwnResourceAndAFileWithoutOneLeavesTheRecordEmpty)
{
    CFileVersionInfo info;
    ASSERT_TRUE(info.ReadFromFile(TestProgramFolder() + L"Kavrin.exe"));
    EXPECT_EQ(info.GetFileVersion(), (VersionQuad{4, 2, 2, 5}));
    EXPECT_EQ(info.GetProductName(), L"Kavrin");

    wchar_t folder[MAX_PATH] = {};
    wchar_t plain[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    ASSERT_NE(::GetTempFileNameW(folder, L"kav", 0, plain), 0u);
    EXPECT_FALSE(info.ReadFromFile(plain));
    ::DeleteFileW(plain);
    EXPECT_EQ(info.GetFileVersion(), VersionQuad{});
    EXPECT_EQ(info.GetFixedInfo().dwSignature, 0u);
    EXPECT_EQ(info.GetProductName(), L"");
}
