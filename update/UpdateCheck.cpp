#include "update/UpdateCheck.h"

#include "update/TextFormat.h"
#include "update/VersionFile.h"

#include <cwchar>
#include <iterator>

namespace
{
constexpr wchar_t kNewerPublished[] =
    L"There is a newer version of %s available. You are using %s Version %d.%d.%d.%d and Version %d.%d.%d.%d is "
    L"available%s. \r\n\r\nYou may update %s now, download the newer version, go to the Halvanworks website or "
    L"continue without updating.";
constexpr wchar_t kSame[] =
    L"You are using %s (%s), Version %d.%d.%d.%d.\r\n\r\nwhich is the same as Version %d.%d.%d.%d %s identified as "
    L"the most current on the Halvanworks website. There is no need to take any action.";
constexpr wchar_t kRunningNewer[] =
    L"You are using %s (%s), Version %d.%d.%d.%d.\r\n\r\nwhich is newer than Version %d.%d.%d.%d %s identified as the "
    L"most current on the Halvanworks website.\r\nPlease contact Halvanworks indicating how you obtained your "
    L"version of the software.";
constexpr wchar_t kPublisherNotice[] =
    L"This newer version of %s (Version %d.%d.%d.%d) has not been uploaded to the Halvanworks website. The version "
    L"on the website is %d.%d.%d.%d";
constexpr wchar_t kNotObtained[] = L"Unable to obtain version information from the Halvanworks website for: %s\nUsing: "
                                   L"%s %d.%d.%d.%d";

struct VersionArgs
{
    explicit VersionArgs(const VersionQuad& v)
        : major(Part(v.major)), minor(Part(v.minor)), build(Part(v.build)), revision(Part(v.revision))
    {
    }
    static std::wstring Part(std::uint32_t part) { return DecimalText(static_cast<std::int32_t>(part)); }
    std::wstring major, minor, build, revision;
};

struct Facts
{
    const UpdateCheck::RunningProgram& running;
    const std::wstring& programName;
    VersionQuad published;
    std::wstring date; // empty when the file gives no creation time
};

std::wstring CreatedOn(const std::wstring& date, const wchar_t* format)
{
    return date.empty() ? std::wstring() : FillFormat(format, {date});
}

std::wstring Message(UpdateMode mode, const Facts& facts)
{
    const std::wstring& product = facts.running.productName;
    const VersionArgs r(facts.running.version);
    const VersionArgs p(facts.published);
    switch (mode)
    {
    case UpdateMode::NewerPublished:
        return FillFormat(kNewerPublished, {product, product, r.major, r.minor, r.build, r.revision, p.major, p.minor,
                                            p.build, p.revision, CreatedOn(facts.date, L", created on %s"), product});
    case UpdateMode::Same:
    case UpdateMode::RunningNewer:
        return FillFormat(mode == UpdateMode::Same ? kSame : kRunningNewer,
                          {product, facts.running.fileDescription, r.major, r.minor, r.build, r.revision, p.major,
                           p.minor, p.build, p.revision, CreatedOn(facts.date, L", created on %s, ")});
    case UpdateMode::PublisherNotice:
        return FillFormat(kPublisherNotice,
                          {product, r.major, r.minor, r.build, r.revision, p.major, p.minor, p.build, p.revision});
    case UpdateMode::NotObtained:
        break;
    }
    return FillFormat(kNotObtained, {facts.programName, product, r.major, r.minor, r.build, r.revision});
}
} // namespace

namespace UpdateCheck
{
std::vector<DialogStep> Plan(const Answer& answer, const RunningProgram& running, const Request& request,
                             const DateFormatter& formatDate)
{
    Facts facts{running, request.programName, {}, {}};
    if (!answer.obtained || answer.size == 0 || answer.size > VersionFile::kMaxBytes)
        return {{UpdateMode::NotObtained, Message(UpdateMode::NotObtained, facts)}};
    if (VersionFile::IsWebPage(answer.text))
        return {};
    const VersionFile::Published published = VersionFile::Parse(answer.text);
    facts.published = published.version;
    if (published.created != 0)
        facts.date = formatDate(published.created);
    std::vector<DialogStep> steps;
    const VersionOrder order = CompareVersions(published.version, running.version);
    for (const UpdateMode mode : ModesFor(order, request.reportWhenCurrent, request.publisherCheck))
        steps.push_back({mode, Message(mode, facts)});
    return steps;
}

std::vector<UpdateMode> ModesFor(VersionOrder order, bool reportWhenCurrent, bool publisherCheck)
{
    std::vector<UpdateMode> modes;
    switch (order)
    {
    case VersionOrder::PublishedNewer:
        modes.push_back(UpdateMode::NewerPublished);
        break;
    case VersionOrder::Same:
        if (reportWhenCurrent)
            modes.push_back(UpdateMode::Same);
        break;
    case VersionOrder::RunningNewer:
        if (reportWhenCurrent)
            modes.push_back(UpdateMode::RunningNewer);
        if (publisherCheck)
            modes.push_back(UpdateMode::PublisherNotice);
        break;
    }
    return modes;
}

std::wstring VersionBaseName(const std::wstring& programName, const std::wstring& moduleName)
{
    return programName.empty() ? moduleName : programName;
}

std::wstring SetupFileName(const std::wstring& programName)
{
    return programName + L"Setup.exe";
}

std::wstring LongDate(const std::tm& local)
{
    wchar_t text[128] = {};
    const std::size_t length = std::wcsftime(text, std::size(text), L"%B %d, %Y", &local);
    return std::wstring(text, length);
}
} // namespace UpdateCheck
