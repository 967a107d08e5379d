// A server's reply, whatever it holds, through the exchange, its checks and the
// report's texts. The correction's arithmetic is ClockCorrectionTest's, row by row.
#include "FuzzText.h"
#include "mainwnd/SyncReport.h"
#include "sntp/SntpExchange.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>
#include <vector>

namespace
{
constexpr CNtpTimestamp kT1(0xE9A1B2C3u, 0x80000000u); // the request goes out
constexpr CNtpTimestamp kT4(0xE9A1B2C3u, 0x90000000u); // the reply is read

// One run with one address whose only datagram is the fuzzer's.
struct CReplyPlatform
{
    using Address = int;
    static constexpr int kWaitTimedOut = -1;
    struct Socket
    {
        std::span<const std::uint8_t> datagram;
        bool Open(int) { return true; }
        std::wstring LookUpPeerName() const { return L"192.0.2.1"; }
        bool Send(std::span<const std::uint8_t>) { return true; }
        int Receive(std::span<std::uint8_t> buffer) // as the real socket: too long a datagram is an error
        {
            return datagram.size() > buffer.size() ? -1 : static_cast<int>(std::ranges::copy(datagram, buffer.begin()).out - buffer.begin());
        }
    };
    std::span<const std::uint8_t> datagram;
    std::uint32_t lastError = 0;
    std::uint64_t tick = 0;
    bool Resolve(const std::wstring&, std::vector<int>& addresses) { return addresses.push_back(1), true; }
    std::unique_ptr<Socket> MakeSocket() { return std::make_unique<Socket>(Socket{datagram}); }
    int WaitAny(std::span<Socket* const>, std::uint32_t) { return 0; }
    CNtpTimestamp TransmitTime() { return kT1; }
    CNtpTimestamp Now() { return kT4; }
    std::uint64_t TickMs() { return tick++; }
    std::uint32_t GetLastError() const { return lastError ? lastError : 10040; }
    void SetLastError(std::uint32_t error) { lastError = error; }
};

bool IsValid(const CalendarRecord& c)
{
    return c.month >= 1 && c.month <= 12 && c.day >= 1 && c.day <= 31 && c.dayOfWeek < 7 && c.hour < 24 &&
           c.minute < 60 && c.second < 60 && c.milliseconds < 1000;
}

// Each date as the window shows it, within half a millisecond; the numbers finite.
void CheckReport(const SntpResult& result)
{
    for (const CNtpTimestamp t : {result.originateStamp, result.receiveStamp, result.transmitStamp})
        FUZZ_CHECK(IsValid(t.ToCalendar()) &&
                   std::fabs(CNtpTimestamp::Difference(CNtpTimestamp::FromCalendar(t.ToCalendar()), t)) <= 0.000501);
    FUZZ_CHECK(std::isfinite(result.roundTripDelay) && std::isfinite(result.localClockOffset));
    for (const SyncReport::Row& row : SyncReport::ResultRows(result))
        FUZZ_CHECK(!row.value.empty());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Sntp::ReplyBuffer buffer{}; // the decoding and its checks alone, on the reply as the buffer holds it
    std::copy_n(data, std::min(size, buffer.size()), buffer.begin());
    SntpResult decoded;
    decoded.destinationStamp = kT4;
    Sntp::DecodeReply(buffer, decoded);
    Sntp::ComputeDelayAndOffset(decoded);
    CheckReport(decoded);
    const std::uint32_t verdict = Sntp::CheckReply(buffer);

    // The whole exchange takes only a whole, usable answer to its request.
    CReplyPlatform platform{{data, size}};
    SntpResult result;
    std::wstring server;
    if (!Sntp::RunExchange(platform, L"192.0.2.1", 5000, result, server))
        return FUZZ_CHECK(platform.lastError != 0 || size == 0 || size > buffer.size()), 0;
    FUZZ_CHECK(size >= Sntp::kRequestSize && size <= buffer.size() && verdict == 0);
    FUZZ_CHECK((data[0] & 7) == 4 && result.leapIndicator != 3 && result.stratum >= 1 && result.stratum <= 15);
    FUZZ_CHECK(result.originateStamp == kT1 && result.transmitStamp.Value() != 0 && result.receiveStamp.Value() != 0);
    CheckReport(result);
    return 0;
}
