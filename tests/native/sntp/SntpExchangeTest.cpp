// The run over several addresses, on a simulated clock: which reply wins, when
// requests go out again, and what a run without a usable reply ends with.
#include "sntp/SntpExchange.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace
{
constexpr std::uint32_t kErrorLeftByClose = 10093; // to show that a kept error survives the close
constexpr CNtpTimestamp kStart(0xE9A1B2C3u, 0);

// An address's answer to request `n` sent at `t`: the datagram and its delay in milliseconds.
struct Answer { std::vector<std::uint8_t> datagram; std::uint64_t afterMs = 0; };
using Behaviour = std::function<std::optional<Answer>(std::size_t n, CNtpTimestamp t)>;

std::vector<std::uint8_t> Reply(CNtpTimestamp originate, double serverAhead = 0.0)
{
    std::vector<std::uint8_t> bytes(48, 0);
    bytes[0] = 0x24, bytes[1] = 2; // version 4, server, stratum 2
    for (const auto& [at, t] : {std::pair{24, originate}, {32, originate.AddSeconds(serverAhead)},
                                {40, originate.AddSeconds(serverAhead)}})
        for (int i = 0; i < 8; ++i)
            bytes[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(t.Value() >> (56 - 8 * i));
    return bytes;
}
Behaviour Good(std::uint64_t afterMs, double ahead = 0.0)
{
    return [=](std::size_t, CNtpTimestamp t) { return std::optional<Answer>({Reply(t, ahead), afterMs}); };
}
const Behaviour kSilent = [](std::size_t, CNtpTimestamp) { return std::optional<Answer>(); };

struct CFakeRunPlatform
{
    using Address = int;
    static constexpr int kWaitTimedOut = -1;
    struct Socket
    {
        CFakeRunPlatform& p;
        int address = -1;
        ~Socket() { p.lastError = kErrorLeftByClose; }
        bool Open(int a) { return address = a, p.Fails(p.openError); }
        std::wstring LookUpPeerName() const { return L"192.0.2." + std::to_wstring(address); }
        bool Send(std::span<const std::uint8_t> request)
        {
            std::uint64_t transmit = 0;
            for (int i = 0; i < 8; ++i)
                transmit = (transmit << 8) | request[static_cast<std::size_t>(40 + i)];
            auto& sent = p.sentAt[address];
            if (auto answer = p.behaviours[static_cast<std::size_t>(address)](sent.size(), CNtpTimestamp(transmit)))
                p.inbox[address].push_back({answer->datagram, p.nowMs + answer->afterMs});
            return sent.push_back(p.nowMs), p.Fails(p.sendError);
        }
        int Receive(std::span<std::uint8_t> buffer)
        {
            const Answer next = p.inbox[address].front();
            p.inbox[address].erase(p.inbox[address].begin());
            return static_cast<int>(std::ranges::copy(next.datagram, buffer.begin()).out - buffer.begin());
        }
    };

    explicit CFakeRunPlatform(std::vector<Behaviour> perAddress) : behaviours(std::move(perAddress)) {}
    bool Fails(std::uint32_t error) { return error == 0 || (lastError = error, false); }
    bool Resolve(const std::wstring&, std::vector<int>& addresses)
    {
        for (std::size_t i = 0; i < behaviours.size(); ++i)
            addresses.push_back(static_cast<int>(i));
        return Fails(resolveError);
    }
    std::unique_ptr<Socket> MakeSocket() { return std::make_unique<Socket>(Socket{*this, -1}); }
    // The earliest datagram due within the wait (its `afterMs` holds when); the clock moves on to it.
    int WaitAny(std::span<Socket* const> sockets, std::uint32_t timeoutMs)
    {
        int first = kWaitTimedOut;
        nowMs += timeoutMs;
        for (std::size_t i = 0; i < sockets.size(); ++i)
            for (const Answer& pending : inbox[sockets[i]->address])
                if (pending.afterMs <= nowMs)
                    first = static_cast<int>(i), nowMs = pending.afterMs;
        return first;
    }
    CNtpTimestamp Now() const { return kStart.AddSeconds(static_cast<double>(nowMs) / 1000.0); }
    CNtpTimestamp TransmitTime() const { return Now(); }
    std::uint64_t TickMs() const { return nowMs; }
    std::uint32_t GetLastError() const { return lastError; }
    void SetLastError(std::uint32_t error) { lastError = error; }
    bool Run() { return Sntp::RunExchange(*this, L"pool.example", 5000, result, name); }

    std::vector<Behaviour> behaviours;
    std::uint32_t resolveError = 0, openError = 0, sendError = 0, lastError = 0;
    std::uint64_t nowMs = 0;
    std::map<int, std::vector<std::uint64_t>> sentAt;
    std::map<int, std::vector<Answer>> inbox;
    SntpResult result;
    std::wstring name;
};
} // namespace

TEST(SntpRun, TheFirstGoodReplyWinsWhateverTheOrderOfTheAddresses)
{
    CFakeRunPlatform platform({kSilent, Good(30, 0.25), Good(80, 9.0)});
    ASSERT_TRUE(platform.Run());
    EXPECT_TRUE(platform.name == L"192.0.2.1" && platform.nowMs == 30u);
    EXPECT_NEAR(platform.result.localClockOffset, 0.25 - 0.015, 1e-6);
    EXPECT_NEAR(platform.result.roundTripDelay, 0.030, 1e-6);
}

TEST(SntpRun, AddressesThatHaveNotAnsweredAreAskedAgainAfterOneAndTwoSecondsThenGivenUp)
{
    // The first two requests are lost; the answer to the third wins.
    CFakeRunPlatform lossy({kSilent, [](std::size_t n, CNtpTimestamp t) {
                                return n < 2 ? std::optional<Answer>() : std::optional<Answer>({Reply(t), 5});
                            }});
    ASSERT_TRUE(lossy.Run());
    EXPECT_EQ(lossy.sentAt[1], (std::vector<std::uint64_t>{0, 1000, 2000}));
    EXPECT_EQ(lossy.nowMs, 2005u);

    CFakeRunPlatform silent({kSilent, kSilent});
    EXPECT_TRUE(!silent.Run() && silent.lastError == Sntp::kErrorTimedOut && silent.nowMs == 5000u);
    EXPECT_EQ(silent.sentAt[0], (std::vector<std::uint64_t>{0, 1000, 2000})) << "three requests at most";
}

TEST(SntpRun, AnUnusableAnswerDropsOnlyItsAddress)
{
    const auto answering = [](auto edit) -> Behaviour {
        return [=](std::size_t, CNtpTimestamp t) {
            std::vector<std::uint8_t> reply = Reply(t);
            edit(reply);
            return std::optional<Answer>({reply, 10});
        };
    };
    const std::pair<Behaviour, std::uint32_t> cases[] = {
        {answering([](auto& r) { r[1] = 0; }), Sntp::kErrorKissOfDeath},
        {answering([](auto& r) { std::fill(r.begin() + 32, r.begin() + 40, 0); }), Sntp::kErrorNoReceiveTime},
        // T2 about a second before T3: the server held it longer than the round trip took.
        {answering([](auto& r) { r[36] ^= 0x80, r[35] -= 1; }), Sntp::kErrorImplausibleDelay},
    };
    for (const auto& [faulty, error] : cases)
    {
        CFakeRunPlatform alone({faulty});
        EXPECT_TRUE(!alone.Run() && alone.lastError == error) << error;
        EXPECT_LT(alone.nowMs, 1000u) << error << ": no waiting once every address is dropped";

        CFakeRunPlatform beside({faulty, Good(50)});
        EXPECT_TRUE(beside.Run() && beside.name == L"192.0.2.1") << error;
    }
}

TEST(SntpRun, FailuresKeepTheirErrorPastTheClose)
{
    for (const auto& [step, error] : {std::pair{&CFakeRunPlatform::resolveError, 11001u},
                                      {&CFakeRunPlatform::openError, 10047u}, {&CFakeRunPlatform::sendError, 10065u}})
    {
        CFakeRunPlatform platform({Good(10)});
        platform.*step = error;
        EXPECT_TRUE(!platform.Run() && platform.lastError == error) << error;
    }
    // The transmit time's bits below the clock's resolution come from elsewhere.
    EXPECT_EQ(Sntp::WithRandomLowBits(CNtpTimestamp(7u, 0x12345678u), 8, 0xFFFFFFAB), CNtpTimestamp(7u, 0x123456ABu));
}
