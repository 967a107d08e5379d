// The maker's version file, whatever the site sends: parsed, compared with the
// running version, turned into the update dialogs' messages and highlighted.
#include "FuzzText.h"
#include "update/UpdateCheck.h"
#include "update/UpdateHighlight.h"
#include "update/VersionFile.h"

#include <ctime>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    UpdateCheck::Answer answer{true, size, {}}; // 8-bit text up to its first NUL, as the program converts it
    for (std::size_t i = 0; i < size && data[i] != 0; ++i)
        answer.text.push_back(static_cast<wchar_t>(data[i]));
    const VersionFile::Published published = VersionFile::Parse(answer.text);
    const VersionQuad& v = published.version;
    if (((v.major | v.minor | v.build | v.revision) & 0x80000000u) == 0)
    {
        const std::string written = VersionFile::Format(published.created, v);
        FUZZ_CHECK(VersionFile::Parse(std::wstring(written.begin(), written.end())) == published);
    }

    const UpdateCheck::RunningProgram running{{4, 2, 2, 5}, L"Kavrin", L"Kavrin Time Synchronization"};
    using enum VersionOrder;
    const VersionOrder order = CompareVersions(v, running.version);
    const VersionOrder mirrored = order == Same ? Same : order == PublishedNewer ? RunningNewer : PublishedNewer;
    FUZZ_CHECK(CompareVersions(running.version, v) == mirrored && (order == Same) == (v == running.version));
    const auto longDate = [](std::uint32_t created) {
        const std::time_t time = created;
        std::tm utc{};
        return UpdateCheck::LongDate(*gmtime_r(&time, &utc));
    };
    const auto steps = UpdateCheck::Plan(answer, running, {true, true, L"Kavrin"}, longDate);
    FUZZ_CHECK((size > 0 && size <= VersionFile::kMaxBytes) || (steps.size() == 1 && steps[0].mode == UpdateMode::NotObtained));
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
