// sntp-probe HOST
// Prints "delay_s=<seconds> offset_s=<seconds> server=<name> query_s=<seconds>"
// and exits 0, or "error=<last error> query_s=<seconds>" and exits 1; query_s
// is how long the query took, without the program's own start.

#include "sntp/SntpClient.h"
#include "sntp/SntpSocket.h"

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: sntp-probe HOST\n");
        return 2;
    }
    const CSocketLayer sockets;
    if (!sockets.IsReady())
    {
        std::printf("error=%lu\n", static_cast<unsigned long>(CSntpSocket::GetLastError()));
        return 1;
    }

    CSNTPClient client;
    SntpResult result;
    const auto started = std::chrono::steady_clock::now();
    const bool answered = client.QueryServer(CSntpSocket::FromResolverText(argv[1]), result);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!answered)
    {
        std::printf("error=%lu query_s=%.3f\n", static_cast<unsigned long>(CSntpSocket::GetLastError()), seconds);
        return 1;
    }
    const std::string server = CSntpSocket::ToResolverText(client.GetServerName());
    std::printf("delay_s=%.6f offset_s=%.6f server=%s query_s=%.3f\n", result.roundTripDelay, result.localClockOffset,
                server.c_str(), seconds);
    return 0;
}
