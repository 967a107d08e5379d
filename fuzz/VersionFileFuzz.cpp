// The maker's version file, whatever the site sends: parsed, compared with
// the running version, turned into the update dialogs' messages and their
// highlighting.

#include "FuzzText.h"

#include "update/UpdateCheck.h"
#include "update/UpdateHighlight.h"
#include "update/VersionFile.h"

#include <ctime>

namespace
{
VersionOrder Mirrored(VersionOrder order)
{
    return order == VersionOrder::Same ? order
           : order == VersionOrder::PublishedNewer ? VersionOrder::RunningNewer
                                                  : VersionOrder::PublishedNewer;
}

std::wstring Widened(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The body as the program converts it: 8-bit text up to its first NUL.
    UpdateCheck::Answer answer{true, size, {}};
    for (std::size_t i = 0; i < size && data[i] != 0; ++i)
        answer.text.push_back(static_cast<wchar_t>(data[i]));

    const VersionFile::Published published = VersionFile::Parse(answer.text);
    const VersionQuad& v = published.version;
    if (((v.major | v.minor | v.build | v.revision) & 0x80000000u) == 0)
        FUZZ_CHECK(VersionFile::Parse(Widened(VersionFile::Format(published.created, v))) == published);

    const UpdateCheck::RunningProgram running{{4, 2, 2, 5}, L"Kavrin", L"Kavrin Time Synchronization"};
    const VersionOrder order = CompareVersions(v, running.version);
    FUZZ_CHECK(CompareVersions(running.version, v) == Mirrored(order));
    FUZZ_CHECK((order == VersionOrder::Same) == (v == running.version));

    const auto longDate = [](std::uint32_t created) {
        const std::time_t time = created;
        std::tm utc{};
        gmtime_r(&time, &utc);
        return UpdateCheck::LongDate(utc);
    };
    const auto steps = UpdateCheck::Plan(answer, running, {true, true, L"Kavrin"}, longDate);
    if (size == 0 || size > VersionFile::kMaxBytes)
        FUZZ_CHECK(steps.size() == 1 && steps[0].mode == UpdateMode::NotObtained);
    for (const UpdateCheck::DialogStep& step : steps)
    {
        const std::wstring shown = UpdateHighlight::ControlText(step.message);
        const UpdateHighlight::Formatting formatting = UpdateHighlight::ForMessage(step.mode, shown);
        FUZZ_CHECK(!formatting.spans.empty());
        for (const UpdateHighlight::Span& span : formatting.spans)
            FUZZ_CHECK(span.start >= 0 && span.start < span.end && span.end <= static_cast<int>(shown.size()));
    }
    return 0;
}
