#include "sntp/SntpPacket.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
// A usable reply: version 4, mode 4, stratum 2, T1..T3 set.
Sntp::ReplyBuffer GoodReply()
{
    return {0x24, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
            0xEC, 0x01, 0x02, 0x03, 0x80, 0x00, 0x00, 0x00,  // originate
            0xEC, 0x01, 0x02, 0x04, 0x00, 0x00, 0x00, 0x01,  // receive
            0xEC, 0x01, 0x02, 0x05, 0xFF, 0xFF, 0xFF, 0xFF}; // transmit
}
} // namespace

TEST(SntpReply, DecodesLeapStratumAndTheThreeServerStamps)
{
    Sntp::ReplyBuffer reply = GoodReply();
    reply[0] = 0x64; // leap indicator 1
    reply[1] = 0xFE;
    SntpResult result;
    Sntp::DecodeReply(reply, result);
    EXPECT_EQ(result.leapIndicator, 1);
    EXPECT_EQ(result.stratum, 254);
    EXPECT_EQ(result.originateStamp, CNtpTimestamp(0xEC010203u, 0x80000000u));
    EXPECT_EQ(result.receiveStamp, CNtpTimestamp(0xEC010204u, 0x00000001u));
    EXPECT_EQ(result.transmitStamp, CNtpTimestamp(0xEC010205u, 0xFFFFFFFFu));
    // T4 is the client's, never read from the packet.
    EXPECT_EQ(result.destinationStamp, CNtpTimestamp());
}

TEST(SntpReply, ServerMarksItUnusable)
{
    // zeroed: the transmit stamp's seconds (1), fraction (2) or both (3) set to zero.
    struct Case { const char* name; std::uint8_t byte0, stratum; int zeroed; std::uint32_t expected; };
    const Case cases[] = {
        {"good v4", 0x24, 2, 0, 0}, {"good v1", 0x0C, 15, 0, 0}, {"leap 2", 0xA4, 2, 0, 0},
        {"leap 3", 0xE4, 2, 0, Sntp::kErrorServerNotSynchronized},
        {"kiss of death", 0x24, 0, 0, Sntp::kErrorKissOfDeath},
        {"stratum 16", 0x24, 16, 0, Sntp::kErrorServerUnsynchronizedStratum},
        {"stratum 255", 0x24, 255, 0, Sntp::kErrorServerUnsynchronizedStratum},
        {"version 0", 0x04, 2, 0, Sntp::kErrorUnsupportedVersion},
        {"version 5", 0x2C, 2, 0, Sntp::kErrorUnsupportedVersion},
        {"mode 3", 0x23, 2, 0, Sntp::kErrorNotServerMode}, {"mode 5", 0x25, 2, 0, Sntp::kErrorNotServerMode},
        {"transmit zero", 0x24, 2, 3, Sntp::kErrorNoTransmitTime},
        {"transmit seconds zero", 0x24, 2, 1, 0}, {"transmit fraction zero", 0x24, 2, 2, 0},
        // Several faults: the first in the documented order wins.
        {"all wrong", 0xFF, 0, 3, Sntp::kErrorUnsupportedVersion},
        {"leap 3 and stratum 0", 0xE4, 0, 0, Sntp::kErrorServerNotSynchronized},
    };
    for (const Case& c : cases)
    {
        Sntp::ReplyBuffer reply = GoodReply();
        reply[0] = c.byte0;
        reply[1] = c.stratum;
        std::fill_n(reply.begin() + 40, c.zeroed & 1 ? 4 : 0, 0);
        std::fill_n(reply.begin() + 44, c.zeroed & 2 ? 4 : 0, 0);
        EXPECT_EQ(Sntp::CheckReply(reply), c.expected) << c.name;
    }
}
