// The run over several addresses, on a simulated clock: which reply wins, when
// requests go out again, and what a run without a usable reply ends with.
#include "sntp/SntpExchange.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace
{
// What closing a socket leaves behind, to show that a kept error survives it.
constexpr std::uint32_t kErrorLeftByClose = 10093;
constexpr CNtpTimestamp kStart(0xE9A1B2C3u, 0);

// An address's answer to request `n` sent at `transmit`: the datagram and how
// many milliseconds later it arrives; nothing for no answer.
struct Answer { std::vector<std::uint8_t> datagram; std::uint64_t afterMs = 0; };
using Behaviour = std::function<std::optional<Answer>(std::size_t n, CNtpTimestamp transmit)>;

std::vector<std::uint8_t> Reply(CNtpTimestamp originate, double serverAhead = 0.0, std::uint8_t stratum = 2)
{
    std::vector<std::uint8_t> bytes(48, 0);
    bytes[0] = 0x24; // version 4, server
    bytes[1] = stratum;
    const auto put = [&](std::size_t at, CNtpTimestamp t) {
        for (int i = 0; i < 8; ++i)
            bytes[at + i] = static_cast<std::uint8_t>(t.Value() >> (56 - 8 * i));
    };
    put(24, originate);
    put(32, originate.AddSeconds(serverAhead));
    put(40, originate.AddSeconds(serverAhead));
    return bytes;
}

Behaviour Silent() { return [](std::size_t, CNtpTimestamp) { return std::optional<Answer>(); }; }
Behaviour Good(std::uint64_t afterMs, double ahead = 0.0)
{
    return [=](std::size_t, CNtpTimestamp t) { return std::optional<Answer>({Reply(t, ahead), afterMs}); };
}

struct CFakeRunPlatform
{
    using Address = int;
    static constexpr int kWaitTimedOut = -1;
    struct Pending { std::vector<std::uint8_t> datagram; std::uint64_t at; };

    explicit CFakeRunPlatform(std::vector<Behaviour> perAddress) : behaviours(std::move(perAddress)) {}

    std::vector<Behaviour> behaviours; // one per address
    std::uint32_t resolveError = 0, openError = 0, sendError = 0;
    std::uint64_t nowMs = 0;
    std::map<int, std::vector<std::uint64_t>> sentAt;
    std::map<int, std::vector<Pending>> inbox;
    std::uint32_t lastError = 0;

    struct Socket
    {
        CFakeRunPlatform& p;
        int address = -1;
        ~Socket() { p.lastError = kErrorLeftByClose; }
        bool Open(int a) { return address = a, p.Fails(p.openError); }
        std::wstring LookUpPeerName() const { return L"192.0.2." + std::to_wstring(address); }
        bool Send(std::span<const std::uint8_t> request)
        {
            CNtpTimestamp transmit;
            for (int i = 0; i < 8; ++i)
                transmit = CNtpTimestamp((transmit.Value() << 8) | request[40 + i]);
            auto& sent = p.sentAt[address];
            if (auto answer = p.behaviours[static_cast<std::size_t>(address)](sent.size(), transmit))
                p.inbox[address].push_back({answer->datagram, p.nowMs + answer->afterMs});
            sent.push_back(p.nowMs);
            return p.Fails(p.sendError);
        }
        int Receive(std::span<std::uint8_t> buffer)
        {
            auto& queue = p.inbox[address];
            const std::vector<std::uint8_t> datagram = queue.front().datagram;
            queue.erase(queue.begin());
            std::copy(datagram.begin(), datagram.end(), buffer.begin());
            return static_cast<int>(datagram.size());
        }
    };

    bool Fails(std::uint32_t error) { return error == 0 || (lastError = error, false); }
    bool Resolve(const std::wstring&, std::vector<int>& addresses)
    {
        for (std::size_t i = 0; i < behaviours.size(); ++i)
            addresses.push_back(static_cast<int>(i));
        return Fails(resolveError);
    }
    std::unique_ptr<Socket> MakeSocket() { return std::make_unique<Socket>(Socket{*this, -1}); }
    // The earliest datagram due within the wait, the clock moved on to it.
    int WaitAny(std::span<Socket* const> sockets, std::uint32_t timeoutMs)
    {
        int first = kWaitTimedOut;
        std::uint64_t at = nowMs + timeoutMs;
        for (std::size_t i = 0; i < sockets.size(); ++i)
            for (const Pending& pending : inbox[sockets[i]->address])
                if (pending.at <= at)
                    first = static_cast<int>(i), at = pending.at;
        nowMs = at;
        return first;
    }
    CNtpTimestamp Now() const { return kStart.AddSeconds(static_cast<double>(nowMs) / 1000.0); }
    CNtpTimestamp TransmitTime() const { return Now(); }
    std::uint64_t TickMs() const { return nowMs; }
    std::uint32_t GetLastError() const { return lastError; }
    void SetLastError(std::uint32_t error) { lastError = error; }

    bool Run(SntpResult& result, std::wstring& name) { return Sntp::RunExchange(*this, L"pool.example", 5000, result, name); }
};
} // namespace

TEST(SntpRun, TheFirstGoodReplyWinsWhateverTheOrderOfTheAddresses)
{
    CFakeRunPlatform platform({Silent(), Good(30, 0.25), Good(80, 9.0)});
    SntpResult result;
    std::wstring name;
    ASSERT_TRUE(platform.Run(result, name));
    EXPECT_EQ(name, L"192.0.2.1");
    EXPECT_EQ(platform.nowMs, 30u);
    EXPECT_NEAR(result.localClockOffset, 0.25 - 0.015, 1e-6);
    EXPECT_NEAR(result.roundTripDelay, 0.030, 1e-6);
}

TEST(SntpRun, AddressesThatHaveNotAnsweredAreAskedAgainAfterOneAndTwoSecondsThenGivenUp)
{
    // The first two requests are lost; the answer to the third wins.
    const Behaviour lossy = [](std::size_t n, CNtpTimestamp t) {
        return n < 2 ? std::optional<Answer>() : std::optional<Answer>({Reply(t), 5});
    };
    CFakeRunPlatform platform({Silent(), lossy});
    SntpResult result;
    std::wstring name;
    ASSERT_TRUE(platform.Run(result, name));
    EXPECT_EQ(platform.sentAt[1], (std::vector<std::uint64_t>{0, 1000, 2000}));
    EXPECT_EQ(platform.nowMs, 2005u);

    CFakeRunPlatform silent({Silent(), Silent()});
    EXPECT_FALSE(silent.Run(result, name));
    EXPECT_EQ(silent.lastError, Sntp::kErrorTimedOut);
    EXPECT_EQ(silent.nowMs, 5000u);
    EXPECT_EQ(silent.sentAt[0], (std::vector<std::uint64_t>{0, 1000, 2000})) << "three requests at most";
}

TEST(SntpRun, ALateReplyToAnEarlierRequestCountsFromThatRequest)
{
    CFakeRunPlatform platform({Good(1500)});
    SntpResult result;
    std::wstring name;
    ASSERT_TRUE(platform.Run(result, name));
    EXPECT_EQ(platform.sentAt[0].size(), 2u) << "one resend went out meanwhile";
    EXPECT_EQ(result.originateStamp, kStart);
    EXPECT_NEAR(result.roundTripDelay, 1.5, 1e-6);
}

TEST(SntpRun, AnUnusableAnswerDropsOnlyItsAddress)
{
    const auto answering = [](auto edit, std::uint64_t afterMs = 10) -> Behaviour {
        return [=](std::size_t, CNtpTimestamp t) {
            std::vector<std::uint8_t> reply = Reply(t);
            edit(reply);
            return std::optional<Answer>({reply, afterMs});
        };
    };
    const Behaviour kissOfDeath = answering([](auto& r) { r[1] = 0; });
    struct Case { const char* name; Behaviour faulty; std::uint32_t error; };
    const Case cases[] = {
        {"kiss-o'-death", kissOfDeath, Sntp::kErrorKissOfDeath},
        {"other originate", answering([](auto& r) { r[31] ^= 1; }), Sntp::kErrorNotThisRequest},
        {"zero receive time", answering([](auto& r) { std::fill(r.begin() + 32, r.begin() + 40, 0); }),
         Sntp::kErrorNoReceiveTime},
        // T2 about a second before T3: the server held it longer than the round trip took.
        {"negative delay", answering([](auto& r) { r[36] ^= 0x80, r[35] -= 1; }), Sntp::kErrorImplausibleDelay},
        {"47 bytes", answering([](auto& r) { r.resize(47); }), Sntp::kErrorTruncatedReply},
    };
    for (const Case& c : cases)
    {
        SntpResult result;
        std::wstring name;
        CFakeRunPlatform alone({c.faulty});
        EXPECT_FALSE(alone.Run(result, name)) << c.name;
        EXPECT_EQ(alone.lastError, c.error) << c.name;
        EXPECT_LT(alone.nowMs, 1000u) << c.name << ": no waiting once every address is dropped";

        CFakeRunPlatform beside({c.faulty, Good(50)});
        EXPECT_TRUE(beside.Run(result, name)) << c.name;
        EXPECT_EQ(name, L"192.0.2.1") << c.name;
    }
}

TEST(SntpRun, FailuresKeepTheirErrorPastTheClose)
{
    struct Case { const char* name; std::uint32_t CFakeRunPlatform::*step; std::uint32_t error; };
    for (const Case& c : {Case{"resolve", &CFakeRunPlatform::resolveError, 11001},
                          Case{"open", &CFakeRunPlatform::openError, 10047},
                          Case{"send", &CFakeRunPlatform::sendError, 10065}})
    {
        CFakeRunPlatform platform({Good(10)});
        platform.*c.step = c.error;
        SntpResult result;
        std::wstring name;
        EXPECT_FALSE(platform.Run(result, name)) << c.name;
        EXPECT_EQ(platform.lastError, c.error) << c.name;
    }
}

TEST(SntpRun, TransmitTimesHideTheBitsTheClockCannotTell)
{
    const CNtpTimestamp now(0xE9A1B2C3u, 0x12345678u);
    EXPECT_EQ(Sntp::WithRandomLowBits(now, 8, 0xFFFFFFAB), CNtpTimestamp(0xE9A1B2C3u, 0x123456ABu));
    EXPECT_EQ(Sntp::WithRandomLowBits(now, 0, 0xFFFFFFFF), now);
    EXPECT_EQ(Sntp::WithRandomLowBits(now, 32, 0x0000FFFF), CNtpTimestamp(0xE9A1B2C3u, 0x0000FFFFu));
}
