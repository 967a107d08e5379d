// The update dialog's highlighting over any text: every span it plans lies
// inside the text as the rich-edit control holds it.

#include "FuzzText.h"

#include "update/UpdateHighlight.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the message's mode, or (5) the downloaded view.
    const unsigned mode = data[0] % 6;
    const std::wstring text = UpdateHighlight::ControlText(WideText(data + 1, size - 1));
    FUZZ_CHECK(text.find(L'\n') == std::wstring::npos);

    const UpdateHighlight::Formatting formatting = mode == 5
                                                       ? UpdateHighlight::ForDownloaded(text)
                                                       : UpdateHighlight::ForMessage(static_cast<UpdateMode>(mode), text);
    for (const UpdateHighlight::Span& span : formatting.spans)
        FUZZ_CHECK(span.start >= 0 && span.start < span.end && span.end <= static_cast<int>(text.size()));
    return 0;
}
