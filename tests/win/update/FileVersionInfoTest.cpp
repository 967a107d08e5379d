// The version resource reader on real files (the choice of a translation: VersionResourceTest).

#include "UpdateTestSupport.h"
#include "update/FileVersionInfo_win.h"

#include <gtest/gtest.h>

TEST(FileVersionInfo, ReadsTheProgramsOwnResourceAndAFileWithoutOneLeavesTheRecordEmpty)
{
    CFileVersionInfo info;
    ASSERT_TRUE(info.ReadFromFile(TestProgramFolder() + L"Kavrin.exe"));
    EXPECT_EQ(info.GetFileVersion(), (VersionQuad{KAVRIN_VERSION_BINARY}));
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
