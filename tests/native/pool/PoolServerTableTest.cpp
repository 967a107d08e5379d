#include "pool/PoolServerTable.h"

#include <gtest/gtest.h>

#include <set>

TEST(PoolServerTable, HoldsSixtyDistinctZonesInDisplayOrder)
{
    EXPECT_EQ(PoolServerTable.size(), 60u);
    EXPECT_EQ(PoolServerTable.front().country, L"Worldwide");
    EXPECT_EQ(PoolServerTable.front().server, L"pool.ntp.org");
    EXPECT_EQ(PoolServerTable[6].country, L"Canada");
    EXPECT_EQ(PoolServerTable[6].count, L"82");
    EXPECT_EQ(PoolServerTable[34].country, L"Republic of Serbia");
    EXPECT_EQ(PoolServerTable.back().country, L"Vanuatu");
    EXPECT_EQ(PoolServerTable.back().count, L"1");

    std::set<std::wstring_view> servers;
    for (const auto& entry : PoolServerTable)
    {
        EXPECT_FALSE(entry.count.empty()) << testing::PrintToString(std::wstring(entry.country));
        EXPECT_TRUE(entry.server.ends_with(L"pool.ntp.org")) << testing::PrintToString(std::wstring(entry.server));
        servers.insert(entry.server);
    }
    EXPECT_EQ(servers.size(), 60u) << "no two rows share a server";
}

TEST(PoolServerTable, FindsRegionsByExactHost)
{
    const struct
    {
        const wchar_t* host;
        const wchar_t* region;
    } cases[] = {
        {L"pool.ntp.org", L"Worldwide"},
        {L"ca.pool.ntp.org", L"Canada"},
        {L"north-america.pool.ntp.org", L"North America"},
        {L"vu.pool.ntp.org", L"Vanuatu"},
        {L"CA.pool.ntp.org", L"Unspecified"},
        {L" ca.pool.ntp.org", L"Unspecified"},
        {L"ca.pool.ntp.org.", L"Unspecified"},
        {L"time.example", L"Unspecified"},
        {L"", L"Unspecified"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindPoolRegion(c.host), c.region) << testing::PrintToString(std::wstring(c.host));
}

TEST(PoolServerTable, DefaultServerIsTheCanadianZone)
{
    EXPECT_EQ(DefaultPoolServer(), L"ca.pool.ntp.org");
    EXPECT_EQ(FindPoolRegion(DefaultPoolServer()), L"Canada");
}
