// The update dialog's highlighting over any text: every span lies inside
// the text as the rich-edit control holds it.
#include "FuzzText.h"
#include "update/UpdateHighlight.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned mode = data[0] % 6; // a message's mode, or (5) the downloaded view
    const std::wstring text = UpdateHighlight::ControlText(WideText(data + 1, size - 1));
    FUZZ_CHECK(text.find(L'\n') == std::wstring::npos);
    const auto formatting = mode == 5 ? UpdateHighlight::ForDownloaded(text)
                                      : UpdateHighlight::ForMessage(static_cast<UpdateMode>(mode), text);
    for (const UpdateHighlight::Span& span : formatting.spans)
        FUZZ_CHECK(span.start >= 0 && span.start < span.end && span.end <= static_cast<int>(text.size()));
    return 0;
}
