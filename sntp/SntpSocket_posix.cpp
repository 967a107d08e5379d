#include "sntp/SntpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "sntp/ResolverAnswer.h"

#include <algorithm>
#include <array>
#include <climits>
#include <memory>

// POSIX has no per-thread "last error" beside errno, which every library call
// may change; the shim keeps its own, in Winsock's numbering.
namespace
{
thread_local std::uint32_t t_lastError = 0;

constexpr std::uint32_t kWsaEmsgsize = 10040;

std::uint32_t WinsockErrorOf(int error) noexcept
{
    switch (error)
    {
    case EINTR: return 10004;
    case EBADF: return 10009;
    case EACCES: return 10013;
    case EFAULT: return 10014;
    case EINVAL: return 10022;
    case EMFILE: return 10024;
    case ENOTSOCK: return 10038;
    case EMSGSIZE: return kWsaEmsgsize;
    case EAFNOSUPPORT: return 10047;
    case EADDRNOTAVAIL: return 10049;
    case ENETDOWN: return 10050;
    case ENETUNREACH: return 10051;
    // On a UDP socket a refused connection is the ICMP "port unreachable"
    // that Windows reports as a reset.
    case ECONNREFUSED:
    case ECONNRESET: return 10054;
    case ENOBUFS: return 10055;
    case ENOTCONN: return 10057;
    case ETIMEDOUT: return 10060;
    case EHOSTUNREACH: return 10065;
    default: return static_cast<std::uint32_t>(error);
    }
}

void KeepErrno() noexcept
{
    t_lastError = WinsockErrorOf(errno);
}

// Resolver failures as WSAHOST_NOT_FOUND, WSATRY_AGAIN, WSANO_RECOVERY.
std::uint32_t WinsockErrorOfResolver(int error) noexcept
{
    switch (error)
    {
    case EAI_NONAME: return 11001;
    case EAI_AGAIN: return 11002;
    case EAI_SYSTEM: return WinsockErrorOf(errno);
    default: return 11003;
    }
}

int AsFd(std::uintptr_t socket) noexcept
{
    return static_cast<int>(socket);
}

const sockaddr* AsSockaddr(const SntpAddress& address) noexcept
{
    return reinterpret_cast<const sockaddr*>(address.bytes.data());
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80)
    {
        out += static_cast<char>(c);
        return;
    }
    if (c < 0x800)
    {
        out += static_cast<char>(0xC0 | (c >> 6));
    }
    else
    {
        if (c < 0x10000)
        {
            out += static_cast<char>(0xE0 | (c >> 12));
        }
        else
        {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        }
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (c & 0x3F));
}
} // namespace

bool CSntpSocket::Open(const SntpAddress& server) noexcept
{
    Close();
    const int fd = ::socket(server.family, SOCK_DGRAM, IPPROTO_UDP);
    if (fd < 0)
    {
        KeepErrno();
        return false;
    }
    m_socket = static_cast<NativeSocket>(fd);
    try
    {
        m_server = server;
    }
    catch (...)
    {
        Close();
        t_lastError = 10055; // WSAENOBUFS
        return false;
    }
    if (::connect(fd, AsSockaddr(server), static_cast<socklen_t>(server.bytes.size())) != 0)
    {
        KeepErrno();
        return false;
    }
    return true;
}

void CSntpSocket::Close() noexcept
{
    if (m_socket != kInvalidSocket)
        ::close(AsFd(m_socket));
    m_socket = kInvalidSocket;
}

std::wstring CSntpSocket::LookUpPeerName() const
{
    char host[NI_MAXHOST] = {};
    const auto length = static_cast<socklen_t>(m_server.bytes.size());
    if (::getnameinfo(AsSockaddr(m_server), length, host, sizeof host, nullptr, 0, NI_NAMEREQD) == 0 ||
        ::getnameinfo(AsSockaddr(m_server), length, host, sizeof host, nullptr, 0, NI_NUMERICHOST) == 0)
        return FromResolverText(host);
    return {};
}

bool CSntpSocket::Send(std::span<const std::uint8_t> datagram) noexcept
{
    if (::send(AsFd(m_socket), datagram.data(), datagram.size(), 0) < 0)
    {
        KeepErrno();
        return false;
    }
    return true;
}

int CSntpSocket::WaitAnyReadable(std::span<CSntpSocket* const> sockets, std::uint32_t timeoutMs) noexcept
{
    std::array<pollfd, 16> entries{};
    const std::size_t count = std::min(sockets.size(), entries.size());
    for (std::size_t i = 0; i < count; ++i)
        entries[i] = pollfd{AsFd(sockets[i]->m_socket), POLLIN, 0};
    const int timeout = timeoutMs > static_cast<std::uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(timeoutMs);
    const int ready = ::poll(entries.data(), count, timeout);
    if (ready == 0)
        return kWaitTimedOut;
    if (ready < 0)
    {
        KeepErrno();
        return kWaitFailed;
    }
    for (std::size_t i = 0; i < count; ++i)
        if (entries[i].revents != 0)
            return static_cast<int>(i);
    return kWaitFailed;
}

int CSntpSocket::Receive(std::span<std::uint8_t> buffer) noexcept
{
    // MSG_TRUNC makes Linux report the datagram's real length, so that a
    // longer one fails as it does under Winsock instead of being cut short.
    const ssize_t received = ::recv(AsFd(m_socket), buffer.data(), buffer.size(), MSG_TRUNC);
    if (received < 0)
    {
        KeepErrno();
        return -1;
    }
    if (static_cast<std::size_t>(received) > buffer.size())
    {
        t_lastError = kWsaEmsgsize;
        return -1;
    }
    return static_cast<int>(received);
}

bool CSntpSocket::ResolveAll(const std::string& host, std::size_t most, std::vector<SntpAddress>& addresses)
{
    addresses.clear();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    addrinfo* list = nullptr;
    const int status = ::getaddrinfo(host.c_str(), "123", &hints, &list);
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> found(list, &::freeaddrinfo);
    if (status != 0)
    {
        t_lastError = WinsockErrorOfResolver(status);
        return false;
    }
    CollectAddresses(found.get(), most, addresses);
    if (addresses.empty())
        t_lastError = 11001;
    return !addresses.empty();
}

std::string CSntpSocket::ToResolverText(const std::wstring& text)
{
    std::string out;
    for (const wchar_t c : text)
    {
        const auto code = static_cast<char32_t>(c);
        AppendUtf8(out, code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ? U'\uFFFD' : code);
    }
    return out;
}

std::wstring CSntpSocket::FromResolverText(const std::string& text)
{
    std::wstring out;
    std::size_t i = 0;
    while (i < text.size())
    {
        const auto lead = static_cast<unsigned char>(text[i]);
        // The sequence's length and the lead byte's payload bits.
        const std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3
                                 : (lead & 0xF8) == 0xF0                   ? 4 : 0;
        char32_t code = length <= 1 ? lead : lead & (0x7Fu >> length);

        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k)
        {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3Fu);
        }
        out += valid ? static_cast<wchar_t>(code) : L'\uFFFD';
        i += valid ? length : 1;
    }
    return out;
}

std::uint32_t CSntpSocket::GetLastError() noexcept
{
    return t_lastError;
}

void CSntpSocket::SetLastError(std::uint32_t error) noexcept
{
    t_lastError = error;
}

CSocketLayer::CSocketLayer() noexcept : m_ready(true) {}

CSocketLayer::~CSocketLayer() = default;
