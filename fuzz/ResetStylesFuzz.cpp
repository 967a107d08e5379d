// The reset utility's colouring over any text: each range lies inside the
// text and picks out the whole word it is meant for.

#include "FuzzText.h"

#include "common/KavrinSettings.h"
#include "reset/MessageStyles.h"
#include "reset/ResetMessage.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace
{
bool IsAsciiLetterOrDigit(wchar_t c)
{
    return c < 0x80 && std::isalnum(static_cast<unsigned char>(c));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring text = Reset::AsBoxText(WideText(data, size));

    const auto plan = Reset::PlanMessageStyles(text);
    FUZZ_CHECK(!plan.empty() && plan[0].start == 0 && plan[0].end == text.size());
    const std::wstring_view words[] = {Reset::kProgramName, Reset::kOkButton, Settings::Names::SyncOncePerDay,
                                       Reset::kExitOption};
    for (std::size_t i = 1; i < plan.size(); ++i)
    {
        const Reset::StyledRange& range = plan[i];
        FUZZ_CHECK(range.start < range.end && range.end <= text.size());
        const std::wstring_view picked = std::wstring_view(text).substr(range.start, range.end - range.start);
        FUZZ_CHECK(std::find(std::begin(words), std::end(words), picked) != std::end(words));
        FUZZ_CHECK(range.start == 0 || !IsAsciiLetterOrDigit(text[range.start - 1]));
        FUZZ_CHECK(range.end == text.size() || !IsAsciiLetterOrDigit(text[range.end]));
    }
    return 0;
}
