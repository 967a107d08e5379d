#include "sntp/SntpSocket.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include "sntp/ResolverAnswer.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

static_assert(sizeof(SOCKET) <= sizeof(std::uintptr_t));

namespace
{
SOCKET AsSocket(std::uintptr_t socket) noexcept
{
    return static_cast<SOCKET>(socket);
}

int ClampedLength(std::size_t size) noexcept
{
    return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

const sockaddr* AsSockaddr(const SntpAddress& address) noexcept
{
    return reinterpret_cast<const sockaddr*>(address.bytes.data());
}

struct AddrInfoFree
{
    void operator()(addrinfo* list) const noexcept { ::freeaddrinfo(list); }
};
} // namespace

bool CSntpSocket::Open(const SntpAddress& server) noexcept
{
    Close();
    const SOCKET socket = ::socket(server.family, SOCK_DGRAM, IPPROTO_UDP);
    if (socket == INVALID_SOCKET)
        return false;
    m_socket = static_cast<NativeSocket>(socket);
    try
    {
        m_server = server;
    }
    catch (...)
    {
        Close();
        ::SetLastError(WSA_NOT_ENOUGH_MEMORY);
        return false;
    }
    return ::connect(socket, AsSockaddr(server), ClampedLength(server.bytes.size())) == 0;
}

void CSntpSocket::Close() noexcept
{
    if (m_socket != kInvalidSocket)
        ::closesocket(AsSocket(m_socket));
    m_socket = kInvalidSocket;
}

std::wstring CSntpSocket::LookUpPeerName() const
{
    char host[NI_MAXHOST] = {};
    const int length = ClampedLength(m_server.bytes.size());
    if (::getnameinfo(AsSockaddr(m_server), length, host, sizeof host, nullptr, 0, NI_NAMEREQD) == 0 ||
        ::getnameinfo(AsSockaddr(m_server), length, host, sizeof host, nullptr, 0, NI_NUMERICHOST) == 0)
        return FromResolverText(host);
    return {};
}

bool CSntpSocket::Send(std::span<const std::uint8_t> datagram) noexcept
{
    return ::send(AsSocket(m_socket), reinterpret_cast<const char*>(datagram.data()),
                  ClampedLength(datagram.size()), 0) != SOCKET_ERROR;
}

int CSntpSocket::WaitAnyReadable(std::span<CSntpSocket* const> sockets, std::uint32_t timeoutMs) noexcept
{
    fd_set readable;
    FD_ZERO(&readable);
    for (const CSntpSocket* socket : sockets)
        FD_SET(AsSocket(socket->m_socket), &readable);
    timeval timeout{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000 * 1000)};
    const int ready = ::select(0, &readable, nullptr, nullptr, &timeout);
    if (ready == 0)
        return kWaitTimedOut;
    if (ready < 0)
        return kWaitFailed;
    const auto first = std::ranges::find_if(
        sockets, [&](const CSntpSocket* socket) { return FD_ISSET(AsSocket(socket->m_socket), &readable) != 0; });
    return first == sockets.end() ? kWaitFailed : static_cast<int>(first - sockets.begin());
}

int CSntpSocket::Receive(std::span<std::uint8_t> buffer) noexcept
{
    const int received = ::recv(AsSocket(m_socket), reinterpret_cast<char*>(buffer.data()),
                                ClampedLength(buffer.size()), 0);
    return received == SOCKET_ERROR ? -1 : received;
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
    const std::unique_ptr<addrinfo, AddrInfoFree> found(list);
    if (status != 0)
    {
        ::SetLastError(static_cast<DWORD>(status));
        return false;
    }
    CollectAddresses(found.get(), most, addresses);
    if (addresses.empty())
        ::SetLastError(WSAHOST_NOT_FOUND);
    return !addresses.empty();
}

std::string CSntpSocket::ToResolverText(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), ClampedLength(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string narrow(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), ClampedLength(text.size()), narrow.data(), size, nullptr,
                          nullptr);
    return narrow;
}

std::wstring CSntpSocket::FromResolverText(const std::string& text)
{
    if (text.empty())
        return {};
    const int size = ::MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), ClampedLength(text.size()), nullptr, 0);
    if (size <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), ClampedLength(text.size()), wide.data(), size);
    return wide;
}

std::uint32_t CSntpSocket::GetLastError() noexcept
{
    return ::GetLastError();
}

void CSntpSocket::SetLastError(std::uint32_t error) noexcept
{
    ::SetLastError(error);
}

CSocketLayer::CSocketLayer() noexcept
{
    WSADATA data{};
    m_ready = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

CSocketLayer::~CSocketLayer()
{
    if (m_ready)
        ::WSACleanup();
}
