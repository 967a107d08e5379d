#pragma once
// The logon task of "Start with Windows without a UAC prompt" in the Task
// Scheduler, through its COM interfaces (the component object library
// initialised for the thread). Each call connects anew; nothing is kept.

#include <windows.h>

#include <optional>
#include <string>

// Registers the task for the current user, starting the installed program,
// or replaces the one there.
HRESULT RegisterLogonTask();
// Deletes the task; one that is not there counts as deleted.
HRESULT RemoveLogonTask();
// The registered task's definition as the scheduler gives it back;
// nothing when there is no such task or the scheduler cannot be asked.
std::optional<std::wstring> ReadLogonTask();

// The reason for a failure, in the system's words where it has them.
std::wstring LogonTaskErrorText(HRESULT result);
