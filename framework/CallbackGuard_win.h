#pragma once
// The boundary between the system's callbacks and the program's code:
// nothing may unwind through a window or dialog procedure. An exception that
// reaches the boundary ends the handler of that message and is reported to
// the user in a message box with its text, as the dialog framework does with
// errors that no command handled; the message then gets its default answer.

#include <functional>
#include <string>

// Reports the exception being handled (call only inside a catch block).
void ReportCurrentException() noexcept;

// Runs `handler`; answers false when it ended with an exception, which has
// then been reported. The handler is called in place: nothing is allocated.
template <typename Handler>
bool CallbackGuard(Handler&& handler) noexcept
{
    try
    {
        handler();
        return true;
    }
    catch (...)
    {
        ReportCurrentException();
        return false;
    }
}

// Where reports go: the application object sends them to its own message
// box; tests record them. An empty function leaves a plain message box.
using ExceptionReporter = std::function<void(const std::wstring& text)>;
void SetExceptionReporter(ExceptionReporter reporter);
