#include "common/SettingsFormats.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
std::vector<std::byte> Bytes(std::initializer_list<int> values)
{
    std::vector<std::byte> bytes;
    for (int v : values)
        bytes.push_back(static_cast<std::byte>(v));
    return bytes;
}

template <typename Array>
std::vector<std::byte> AsVector(const Array& bytes)
{
    return std::vector<std::byte>(bytes.begin(), bytes.end());
}
} // namespace

TEST(SettingsNumber, EncodesFourAndDecodesUpToFourLittleEndianBytes)
{
    EXPECT_EQ(AsVector(Settings::EncodeNumber(0x01020304u)), Bytes({4, 3, 2, 1}));
    EXPECT_EQ(Settings::DecodeNumber(Bytes({0x60, 0xEA, 0x00, 0x00})), 60000u);
    EXPECT_EQ(Settings::DecodeNumber(Bytes({0x34, 0x12})), 0x1234u);
    EXPECT_EQ(Settings::DecodeNumber(Bytes({})), 0u);
    EXPECT_EQ(Settings::DecodeNumber(Bytes({1, 2, 3, 4, 5, 6, 7, 8})), std::nullopt);
}

TEST(SettingsText, StopsAtFirstNullAndIgnoresOddByte)
{
    EXPECT_EQ(Settings::DecodeText(Bytes({'a', 0, 'b', 0, 0, 0, 'c', 0})), L"ab");
    EXPECT_EQ(Settings::DecodeText(Bytes({'a', 0, 'b', 0, 0})), L"ab");
    EXPECT_EQ(Settings::DecodeText(Bytes({'a', 0, 'b', 0})), L"ab");
    EXPECT_EQ(Settings::DecodeText(Bytes({0xAC, 0x20})), L"\u20AC");
    EXPECT_EQ(Settings::DecodeText(Bytes({'x'})), L"");
}

TEST(SyncDateRecord, IsALittleEndianDoubleAndStatusInTwelveBytes)
{
    // 1.5 as an IEEE double is 0x3FF8000000000000.
    const auto bytes = Bytes({0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 2, 0, 0, 0});
    EXPECT_EQ(AsVector(SyncDateRecord{1.5, 2}.Encode()), bytes);
    const auto back = SyncDateRecord::Decode(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->date, 1.5);
    EXPECT_EQ(back->status, 2);
}

TEST(SyncDateRecord, ShortDataFillsFromStartLongDataIsNoRecord)
{
    const auto shortRecord = SyncDateRecord::Decode(Bytes({0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
    ASSERT_TRUE(shortRecord);
    EXPECT_EQ(shortRecord->date, 1.5);
    EXPECT_EQ(shortRecord->status, 0);
    EXPECT_FALSE(SyncDateRecord::Decode(std::vector<std::byte>(16)));
    const auto negative = SyncDateRecord::Decode(Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    ASSERT_TRUE(negative);
    EXPECT_EQ(negative->status, -1);
}
