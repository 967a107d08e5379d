#include "mainwnd/SyncWorker_win.h"

#include "sntp/SntpClient.h"
#include "sntp/SntpSocket.h"

#include <thread>

namespace
{
std::unique_ptr<SyncAnswer> Ask(const std::wstring& server, std::uint32_t replyTimeoutMs)
{
    auto answer = std::make_unique<SyncAnswer>();
    answer->server = server;
    CSNTPClient client(replyTimeoutMs);
    CSntpSocket::SetLastError(0);
    answer->answered = client.QueryServer(server, answer->result);
    answer->error = answer->answered ? 0 : CSntpSocket::GetLastError();
    answer->serverName = client.GetServerName();
    return answer;
}

void Work(HWND window, const std::wstring& server, std::uint32_t replyTimeoutMs) noexcept
{
    try
    {
        std::unique_ptr<SyncAnswer> answer = Ask(server, replyTimeoutMs);
        if (::PostMessageW(window, WM_SYNC_ANSWER, 0, reinterpret_cast<LPARAM>(answer.get())))
            answer.release();
    }
    catch (...)
    {
        // Out of memory: the window hears nothing. It must not wait forever.
        ::PostMessageW(window, WM_SYNC_ANSWER, 0, 0);
    }
}
} // namespace

bool StartSyncWorker(HWND window, const std::wstring& server, std::uint32_t replyTimeoutMs) noexcept
{
    try
    {
        std::thread(Work, window, server, replyTimeoutMs).detach();
        return true;
    }
    catch (...)
    {
        return false;
    }
}

std::unique_ptr<SyncAnswer> TakeSyncAnswer(LPARAM lp) noexcept
{
    return std::unique_ptr<SyncAnswer>(reinterpret_cast<SyncAnswer*>(lp));
}

void DiscardSyncAnswers(HWND window) noexcept
{
    for (MSG msg{}; ::PeekMessageW(&msg, window, WM_SYNC_ANSWER, WM_SYNC_ANSWER, PM_REMOVE);)
        TakeSyncAnswer(msg.lParam);
}
