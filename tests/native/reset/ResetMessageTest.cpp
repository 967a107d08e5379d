#include "reset/ResetMessage.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const std::wstring kResetSyncOnce = std::wstring(L"Click OK to reset the Kavrin registry value \"") +
                                    Settings::Names::SyncOncePerDay +
                                    L"\" to false. This will allow access to the Kavrin dialog from which program "
                                    L"settings may be changed.";
const std::wstring kAlreadySet = L"Kavrin is already set to allow program access whenever the program is run.";

std::wstring ExitPart(int seconds)
{
    return L"\r\nClicking OK will also cancel the program exit following synchronization, allowing the short period "
           L"of " +
           std::to_wstring(seconds) + L" seconds to be changed.";
}
} // namespace

// What OK then writes is checked on Wine's registry (ResetKavrinStartTest).
TEST(ResetMessage, NamesWhatOkSwitchesOff)
{
    const struct { const char* what; ResetSettings read; std::wstring message; } cases[] = {
        {"no key", {false, 0, false}, kAlreadySet + L" No further action is required."},
        {"once a day only", {true, 60000, true}, kResetSyncOnce},
        {"once a day, short delay unused", {true, 5000, false}, kResetSyncOnce},
        {"short exit only", {false, 5000, true}, kAlreadySet + ExitPart(5)},
        {"exit delay 10000", {false, 10000, true}, kAlreadySet + L" No further action is required."},
        {"whole seconds", {false, 9999, true}, kAlreadySet + ExitPart(9)},
        {"both", {true, 5000, true}, kResetSyncOnce + ExitPart(5)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Reset::ComposeMessage(c.read), c.message) << c.what;
}
