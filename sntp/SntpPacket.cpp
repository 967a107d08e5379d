#include "sntp/SntpPacket.h"

namespace
{
constexpr std::size_t kOriginateOffset = 24;
constexpr std::size_t kReceiveOffset = 32;
constexpr std::size_t kTransmitOffset = 40;

std::uint32_t ReadWord(const Sntp::ReplyBuffer& reply, std::size_t offset) noexcept
{
    return (std::uint32_t{reply[offset]} << 24) | (std::uint32_t{reply[offset + 1]} << 16) |
           (std::uint32_t{reply[offset + 2]} << 8) | std::uint32_t{reply[offset + 3]};
}

CNtpTimestamp ReadTimestamp(const Sntp::ReplyBuffer& reply, std::size_t offset) noexcept
{
    return CNtpTimestamp(ReadWord(reply, offset), ReadWord(reply, offset + 4));
}
} // namespace

namespace Sntp
{
Request EncodeRequest(CNtpTimestamp transmit) noexcept
{
    Request request{};
    request[0] = 0x1B;
    const std::uint64_t value = transmit.Value();
    for (std::size_t i = 0; i < 8; ++i)
        request[kTransmitOffset + i] = static_cast<std::uint8_t>(value >> (56 - 8 * i));
    return request;
}

void DecodeReply(const ReplyBuffer& reply, SntpResult& result) noexcept
{
    result.leapIndicator = reply[0] >> 6;
    result.stratum = reply[1];
    result.originateStamp = ReadTimestamp(reply, kOriginateOffset);
    result.receiveStamp = ReadTimestamp(reply, kReceiveOffset);
    result.transmitStamp = ReadTimestamp(reply, kTransmitOffset);
}

std::uint32_t CheckReply(const ReplyBuffer& reply) noexcept
{
    const unsigned leapIndicator = reply[0] >> 6;
    const unsigned version = (reply[0] >> 3) & 7u;
    const unsigned mode = reply[0] & 7u;
    const unsigned stratum = reply[1];
    if (version < 1 || version > 4)
        return kErrorUnsupportedVersion;
    if (mode != 4)
        return kErrorNotServerMode;
    if (leapIndicator == 3)
        return kErrorServerNotSynchronized;
    if (stratum == 0)
        return kErrorKissOfDeath;
    if (stratum >= 16)
        return kErrorServerUnsynchronizedStratum;
    if (ReadTimestamp(reply, kTransmitOffset).Value() == 0)
        return kErrorNoTransmitTime;
    return 0;
}

void ComputeDelayAndOffset(SntpResult& result) noexcept
{
    const double t4MinusT1 = CNtpTimestamp::Difference(result.destinationStamp, result.originateStamp);
    const double t3MinusT2 = CNtpTimestamp::Difference(result.transmitStamp, result.receiveStamp);
    const double t2MinusT1 = CNtpTimestamp::Difference(result.receiveStamp, result.originateStamp);
    const double t3MinusT4 = CNtpTimestamp::Difference(result.transmitStamp, result.destinationStamp);
    result.roundTripDelay = t4MinusT1 - t3MinusT2;
    result.localClockOffset = (t2MinusT1 + t3MinusT4) * 0.5;
}
} // namespace Sntp
