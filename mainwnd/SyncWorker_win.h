#pragma once
// The network part of a synchronisation, on a thread of its own: the window
// starts it and gets the answer back as WM_SYNC_ANSWER, whose LPARAM hands
// over the answer (TakeSyncAnswer). A window that is gone by then never
// sees it: the worker frees the answer, and nothing waits for the worker.

#include "sntp/SntpPacket.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

inline constexpr UINT WM_SYNC_ANSWER = WM_APP + 11;

struct SyncAnswer
{
    // The server that was asked.
    std::wstring server;
    bool answered = false;
    // The cause when there was no usable reply (the query's last error).
    std::uint32_t error = 0;
    SntpResult result;
    // The server that answered.
    std::wstring serverName;
};

// Asks `server` on a new thread and posts the answer to `window`. False
// when no thread could be started.
bool StartSyncWorker(HWND window, const std::wstring& server, std::uint32_t replyTimeoutMs) noexcept;

// Takes over the answer that WM_SYNC_ANSWER carries.
std::unique_ptr<SyncAnswer> TakeSyncAnswer(LPARAM lp) noexcept;

// Frees the answers still queued for `window` (call when it is destroyed).
void DiscardSyncAnswers(HWND window) noexcept;
