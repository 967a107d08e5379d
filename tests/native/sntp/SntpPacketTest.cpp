#include "sntp/SntpPacket.h"

#include <gtest/gtest.h>

namespace
{
// A usable reply: version 4, mode 4, stratum 2, T1..T3 set.
Sntp::ReplyBuffer GoodReply()
{
    Sntp::ReplyBuffer reply{};
    reply[0] = 0x24;
    reply[1] = 2;
    const std::uint8_t stamps[24] = {
        0xEC, 0x01, 0x02, 0x03, 0x80, 0x00, 0x00, 0x00, // originate
        0xEC, 0x01, 0x02, 0x04, 0x00, 0x00, 0x00, 0x01, // receive
        0xEC, 0x01, 0x02, 0x05, 0xFF, 0xFF, 0xFF, 0xFF, // transmit
    };
    std::copy(std::begin(stamps), std::end(stamps), reply.begin() + 24);
    return reply;
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
    struct Case
    {
        const char* name;
        std::uint8_t byte0;
        std::uint8_t stratum;
        bool zeroTransmitSeconds;
        bool zeroTransmitFraction;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"good v4", 0x24, 2, false, false, 0},
        {"good v1", 0x0C, 15, false, false, 0},
        {"leap 2", 0xA4, 2, false, false, 0},
        {"leap 3", 0xE4, 2, false, false, Sntp::kErrorServerNotSynchronized},
        {"kiss of death", 0x24, 0, false, false, Sntp::kErrorKissOfDeath},
        {"stratum 16", 0x24, 16, false, false, Sntp::kErrorServerUnsynchronizedStratum},
        {"stratum 255", 0x24, 255, false, false, Sntp::kErrorServerUnsynchronizedStratum},
        {"version 0", 0x04, 2, false, false, Sntp::kErrorUnsupportedVersion},
        {"version 5", 0x2C, 2, false, false, Sntp::kErrorUnsupportedVersion},
        {"mode 3", 0x23, 2, false, false, Sntp::kErrorNotServerMode},
        {"mode 5", 0x25, 2, false, false, Sntp::kErrorNotServerMode},
        {"transmit zero", 0x24, 2, true, true, Sntp::kErrorNoTransmitTime},
        {"transmit seconds zero", 0x24, 2, true, false, 0},
        {"transmit fraction zero", 0x24, 2, false, true, 0},
        // Several faults: the first in the documented order wins.
        {"all wrong", 0xFF, 0, true, true, Sntp::kErrorUnsupportedVersion},
        {"leap 3 and stratum 0", 0xE4, 0, false, false, Sntp::kErrorServerNotSynchronized},
    };
    for (const Case& c : cases)
    {
        Sntp::ReplyBuffer reply = GoodReply();
        reply[0] = c.byte0;
        reply[1] = c.stratum;
        if (c.zeroTransmitSeconds)
            std::fill(reply.begin() + 40, reply.begin() + 44, 0);
        if (c.zeroTransmitFraction)
            std::fill(reply.begin() + 44, reply.begin() + 48, 0);
        EXPECT_EQ(Sntp::CheckReply(reply), c.expected) << c.name;
    }
}
