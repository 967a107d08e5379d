#include "Bytes.h"
#include "common/SettingsFormats.h"

#include <gtest/gtest.h>

// Decoding short data, and re-encoding what was decoded, is left to SettingsValuesFuzz.
TEST(SettingsNumber, EncodesFourAndDecodesUpToFourLittleEndianBytes)
{
    const auto number = Settings::EncodeNumber(0x01020304u);
    EXPECT_EQ(std::vector(number.begin(), number.end()), Bytes({4, 3, 2, 1}));
    EXPECT_EQ(Settings::DecodeNumber(Bytes({0x60, 0xEA, 0x00, 0x00})), 60000u);
    EXPECT_EQ(Settings::DecodeNumber(Bytes({1, 2, 3, 4, 5, 6, 7, 8})), std::nullopt);
}

TEST(SettingsText, StopsAtFirstNullAndIgnoresOddByte)
{
    EXPECT_EQ(Settings::DecodeText(Bytes({'a', 0, 'b', 0, 0, 0, 'c', 0})), L"ab");
    EXPECT_EQ(Settings::DecodeText(Bytes({'a', 0, 'b', 0, 0})), L"ab");
    EXPECT_EQ(Settings::DecodeText(Bytes({'a', 0, 'b', 0})), L"ab");
    EXPECT_EQ(Settings::DecodeText(Bytes({0xAC, 0x20})), L"\u20AC");
}

TEST(SyncDateRecord, IsALittleEndianDoubleAndStatusInTwelveBytes)
{
    // 1.5 as an IEEE double is 0x3FF8000000000000; the status is signed.
    const auto bytes = Bytes({0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 0xFF, 0xFF, 0xFF, 0xFF});
    const auto record = SyncDateRecord{1.5, -1}.Encode();
    EXPECT_EQ(std::vector(record.begin(), record.end()), bytes);
    const auto back = SyncDateRecord::Decode(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->date, 1.5);
    EXPECT_EQ(back->status, -1);
    EXPECT_FALSE(SyncDateRecord::Decode(std::vector<std::byte>(16))) << "longer data is no record";
}
