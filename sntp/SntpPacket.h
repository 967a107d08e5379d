#pragma once
// The SNTP packet as this client sends and reads it, and the arithmetic of one
// exchange. No platform calls.

#include "sntp/NtpTimestamp.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The outcome of one exchange: the four timestamps, what the server said of
// itself, and the delay and offset in seconds.
struct SntpResult
{
    std::int32_t leapIndicator = 0;
    std::int32_t stratum = 0;
    CNtpTimestamp originateStamp;   // T1, as echoed by the server
    CNtpTimestamp receiveStamp;     // T2
    CNtpTimestamp transmitStamp;    // T3
    CNtpTimestamp destinationStamp; // T4
    double roundTripDelay = 0.0;
    double localClockOffset = 0.0; // positive: the local clock is behind the server
};

namespace Sntp
{
inline constexpr std::uint16_t kServerPort = 123;
inline constexpr std::size_t kRequestSize = 48;
inline constexpr std::size_t kReplyBufferSize = 68;

using Request = std::array<std::uint8_t, kRequestSize>;
using ReplyBuffer = std::array<std::uint8_t, kReplyBufferSize>;

// Last error of an exchange that had no reply in time (WSAETIMEDOUT).
inline constexpr std::uint32_t kErrorTimedOut = 10060;

// Last errors of a reply that the server itself marks as unusable. Bit 29 is
// Windows' range for application-defined error codes, so none of these can be
// mistaken for a system or Winsock error.
inline constexpr std::uint32_t kErrorUnsupportedVersion = 0x20000101; // version not 1 to 4
inline constexpr std::uint32_t kErrorNotServerMode = 0x20000102;      // mode not 4
inline constexpr std::uint32_t kErrorServerNotSynchronized = 0x20000103; // leap indicator 3
inline constexpr std::uint32_t kErrorKissOfDeath = 0x20000104;        // stratum 0
inline constexpr std::uint32_t kErrorServerUnsynchronizedStratum = 0x20000105; // stratum 16 or more
inline constexpr std::uint32_t kErrorNoTransmitTime = 0x20000106;     // transmit timestamp zero
// A reply whose originate field does not echo the request's transmit time
// answers some other request, or none: anyone able to guess the port could
// otherwise set the clock.
inline constexpr std::uint32_t kErrorNotThisRequest = 0x20000107;
// A reply shorter than the 48-byte header: its timestamps are cut off.
inline constexpr std::uint32_t kErrorTruncatedReply = 0x20000108;

// A client request: leap indicator 0, version 3, mode 3, and the transmit
// timestamp in bytes 40 to 47, everything else zero.
Request EncodeRequest(CNtpTimestamp transmit) noexcept;

// Leap indicator, stratum, T1 (the reply's originate field), T2 and T3.
void DecodeReply(const ReplyBuffer& reply, SntpResult& result) noexcept;

// 0 when the reply may be used, otherwise the last error for the first
// reason, checked in the order of the codes above.
std::uint32_t CheckReply(const ReplyBuffer& reply) noexcept;

// Delay (T4 - T1) - (T3 - T2) and offset ((T2 - T1) + (T3 - T4)) / 2.
void ComputeDelayAndOffset(SntpResult& result) noexcept;
} // namespace Sntp
