// The reset utility's colouring over any text: each range lies inside the
// text and picks out a whole word it is meant for.
#include "FuzzText.h"
#include "common/KavrinSettings.h"
#include "reset/MessageStyles.h"
#include "reset/ResetMessage.h"

#include <algorithm>
#include <cctype>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring text = Reset::AsBoxText(WideText(data, size));
    const auto plan = Reset::PlanMessageStyles(text);
    FUZZ_CHECK(!plan.empty() && plan[0].start == 0 && plan[0].end == text.size());
    const std::wstring_view words[] = {Reset::kProgramName, Reset::kOkButton, Settings::Names::SyncOncePerDay,
                                       Reset::kExitOption};
    const auto wordChar = [&](std::size_t at) {
        return text[at] < 0x80 && std::isalnum(static_cast<unsigned char>(text[at]));
    };
    for (std::size_t i = 1; i < plan.size(); ++i)
    {
        const std::size_t start = plan[i].start, end = plan[i].end;
        FUZZ_CHECK(start < end && end <= text.size());
        FUZZ_CHECK(std::ranges::find(words, std::wstring_view(text).substr(start, end - start)) != std::end(words));
        FUZZ_CHECK((start == 0 || !wordChar(start - 1)) && (end == text.size() || !wordChar(end)));
    }
    return 0;
}
