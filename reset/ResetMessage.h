#pragma once
// What the reset utility tells the user and what its OK switches off,
// decided from the values it read. Pure: the dialog shows the text.

#include "common/KavrinSettings.h"

#include <cstdint>
#include <string>

namespace Reset
{
// An exit delay below this leaves no time to reach Kavrin's window.
inline constexpr std::uint32_t kShortExitDelayMs = 10000;

// Words of the message that its formatting picks out.
inline constexpr wchar_t kProgramName[] = L"Kavrin";
inline constexpr wchar_t kOkButton[] = L"OK";
inline constexpr wchar_t kExitOption[] = L"program exit following synchronization";

// SyncOncePerDay when it is on; ExitAfterSync when it is on with a short
// delay.
ResetChoice ChooseReset(const ResetSettings& settings);

// The explanation: what OK will switch off, or that nothing needs to be.
std::wstring ComposeMessage(const ResetSettings& settings);
} // namespace Reset
