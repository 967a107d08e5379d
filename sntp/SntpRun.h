#pragma once
// The rules of one synchronisation run over several addresses of a server:
// when requests go out, which reply is taken, and how a run without one
// ends. No platform calls.

#include "sntp/SntpPacket.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace Sntp
{
inline constexpr std::size_t kMaxAddresses = 8;
inline constexpr std::size_t kMaxRequestsPerAddress = 3;

// A reply whose receive timestamp is zero: the server did not say when the
// request arrived.
inline constexpr std::uint32_t kErrorNoReceiveTime = 0x20000109;
// A round trip below -1 ms or longer than the run's time-out: the
// timestamps cannot be trusted.
inline constexpr std::uint32_t kErrorImplausibleDelay = 0x2000010A;

// When request `sent` (counting from 0) to an address falls due, in
// milliseconds after the run began: at once, then after 1 s and 2 s; none
// after the third.
std::optional<std::uint32_t> RequestDueMs(std::size_t sent) noexcept;

// What one address has seen during a run.
struct AddressState
{
    // The transmit times of the requests sent to it, in order.
    std::array<CNtpTimestamp, kMaxRequestsPerAddress> requests{};
    std::size_t requestCount = 0;
    // It gave an unusable answer or failed: no more requests, and its error.
    bool dropped = false;
    std::uint32_t error = 0;
};

// Judges `received` bytes from an address against the requests sent to it:
// 0 with the request the reply answers in `answered` (its T1), or the error
// that drops the address. The receive time and the delay are checked once
// the exchange's figures are known (CheckFigures).
std::uint32_t JudgeReply(std::span<const std::uint8_t> received, const AddressState& address,
                         CNtpTimestamp& answered) noexcept;

// 0 when the decoded exchange may be used, otherwise its error.
std::uint32_t CheckFigures(const SntpResult& result, std::uint32_t replyTimeoutMs) noexcept;

// The error of a run that ended without a usable reply: a time-out while
// any address was still waiting, otherwise the first address's own error.
std::uint32_t RunError(std::span<const AddressState> addresses) noexcept;

// A transmit time whose `unresolvedBits` lowest fraction bits, which the
// clock cannot tell, are taken from `random`: an off-path sender cannot
// guess them.
CNtpTimestamp WithRandomLowBits(CNtpTimestamp time, unsigned unresolvedBits, std::uint32_t random) noexcept;
} // namespace Sntp
