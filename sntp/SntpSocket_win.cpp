// inet_addr, inet_ntoa and gethostbyname are what this client is built on;
// MSVC marks them deprecated.
#define _WINSOCK_DEPRECATED_NO_WARNINGS

#include "sntp/SntpSocket.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <climits>
#include <cstring>

static_assert(sizeof(SOCKET) <= sizeof(std::uintptr_t));

namespace
{
constexpr DWORD kWsaHostNotFound = 11001;

SOCKET AsSocket(std::uintptr_t socket) noexcept
{
    return static_cast<SOCKET>(socket);
}

int ClampedLength(std::size_t size) noexcept
{
    return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}
} // namespace

bool CSntpSocket::Open() noexcept
{
    Close();
    const SOCKET socket = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (socket == INVALID_SOCKET)
        return false;
    m_socket = static_cast<NativeSocket>(socket);
    return true;
}

void CSntpSocket::Close() noexcept
{
    if (m_socket != kInvalidSocket)
        ::closesocket(AsSocket(m_socket));
    m_socket = kInvalidSocket;
}

bool CSntpSocket::Connect(std::uint32_t address, std::uint16_t port) noexcept
{
    m_connectedAddress = address;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = ::htons(port);
    peer.sin_addr.s_addr = address;
    return ::connect(AsSocket(m_socket), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0;
}

std::wstring CSntpSocket::LookUpPeerName()
{
    sockaddr_in peer{};
    int length = sizeof peer;
    if (::getpeername(AsSocket(m_socket), reinterpret_cast<sockaddr*>(&peer), &length) != 0)
    {
        in_addr connected{};
        connected.s_addr = m_connectedAddress;
        return FromResolverText(::inet_ntoa(connected));
    }
    char host[256] = {};
    if (::getnameinfo(reinterpret_cast<const sockaddr*>(&peer), length, host, sizeof host, nullptr, 0, 0) == 0)
        return FromResolverText(host);
    return FromResolverText(::inet_ntoa(peer.sin_addr));
}

bool CSntpSocket::Send(std::span<const std::uint8_t> datagram) noexcept
{
    return ::send(AsSocket(m_socket), reinterpret_cast<const char*>(datagram.data()),
                  ClampedLength(datagram.size()), 0) != SOCKET_ERROR;
}

SocketWait CSntpSocket::WaitReadable(std::uint32_t timeoutMs) noexcept
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(AsSocket(m_socket), &readable);
    timeval timeout{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000 * 1000)};
    const int ready = ::select(0, &readable, nullptr, nullptr, &timeout);
    if (ready > 0)
        return SocketWait::Readable;
    return ready == 0 ? SocketWait::TimedOut : SocketWait::Failed;
}

int CSntpSocket::Receive(std::span<std::uint8_t> buffer) noexcept
{
    const int received = ::recv(AsSocket(m_socket), reinterpret_cast<char*>(buffer.data()),
                                ClampedLength(buffer.size()), 0);
    return received == SOCKET_ERROR ? -1 : received;
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

bool CSntpSocket::ParseDottedAddress(const std::string& host, std::uint32_t& address) noexcept
{
    const unsigned long parsed = ::inet_addr(host.c_str());
    if (parsed == INADDR_NONE)
        return false;
    address = parsed;
    return true;
}

bool CSntpSocket::ResolveHost(const std::string& host, std::uint32_t& address) noexcept
{
    const hostent* found = ::gethostbyname(host.c_str());
    if (!found)
        return false;
    if (found->h_addrtype != AF_INET || found->h_length != 4 || !found->h_addr_list[0])
    {
        ::SetLastError(kWsaHostNotFound);
        return false;
    }
    in_addr first{};
    static_assert(sizeof first == 4);
    std::memcpy(&first, found->h_addr_list[0], sizeof first);
    address = first.s_addr;
    return true;
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
