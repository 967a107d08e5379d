#pragma once
// "Start with Windows without a UAC prompt" is a task of the Task
// Scheduler, `Kavrin` in the `Halvanworks` folder: at the user's logon the
// scheduler starts the installed program with the highest rights the user
// has, and asks nothing. Pure: the task's definition as the scheduler's
// XML; registering it is LogonTask_win's.

#include <string>

namespace LogonTask
{
inline constexpr wchar_t kFolderName[] = L"Halvanworks";
inline constexpr wchar_t kFolderPath[] = L"\\Halvanworks";
inline constexpr wchar_t kTaskName[] = L"Kavrin";

// The task for `userId` (DOMAIN\user): a logon trigger for that user, run
// with the highest rights under the user's own logon, starting `program`
// without arguments, with no time limit and on batteries too.
std::wstring Definition(const std::wstring& userId, const std::wstring& program);

// `text` with the characters that XML reserves as entities.
std::wstring EscapeXml(const std::wstring& text);
} // namespace LogonTask
