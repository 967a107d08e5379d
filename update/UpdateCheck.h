#pragma once
// What the update check decides: from the answer of the maker's site and
// the running program's version, which update dialogs it shows, in order,
// and with which message.

#include "update/Version.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

enum class UpdateMode : int
{
    RunningNewer = 0,
    NewerPublished = 1,
    Same = 2,
    PublisherNotice = 3,
    NotObtained = 4,
};

namespace UpdateCheck
{
struct RunningProgram
{
    VersionQuad version;
    std::wstring productName;
    std::wstring fileDescription;
};

struct Request
{
    bool reportWhenCurrent = false;
    bool publisherCheck = false;
    // Names the version file and the setup program; empty: the running
    // module's file name names the version file.
    std::wstring programName;
};

// The site's answer: `obtained` is false when the site answered with an
// error; `size` is the length of its body; `text` the body converted to
// UTF-16 up to its first NUL.
struct Answer
{
    bool obtained = true;
    std::size_t size = 0;
    std::wstring text;
};

struct DialogStep
{
    UpdateMode mode;
    std::wstring message;

    friend bool operator==(const DialogStep&, const DialogStep&) = default;
};

// The creation time as the messages show it (a local date).
using DateFormatter = std::function<std::wstring(std::uint32_t created)>;

// The dialogs to show, in order; none means the check ends silently.
std::vector<DialogStep> Plan(const Answer& answer, const RunningProgram& running, const Request& request,
                             const DateFormatter& formatDate);

// The modes shown for an outcome: a newer release is always shown; the
// others only as the flags ask.
std::vector<UpdateMode> ModesFor(VersionOrder order, bool reportWhenCurrent, bool publisherCheck);

// The base name of the version file and the setup program's file name.
std::wstring VersionBaseName(const std::wstring& programName, const std::wstring& moduleName);
std::wstring SetupFileName(const std::wstring& programName);

// "%B %d, %Y" (March 05, 2024) in the program's locale.
std::wstring LongDate(const std::tm& local);
} // namespace UpdateCheck
