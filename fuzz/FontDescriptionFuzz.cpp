// A button's font description: the face plus the style words taken off its
// end give back the whole description.
#include "FuzzText.h"
#include "mainwnd/ButtonFaces.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring description = WideText(data, size);
    const FontDescription font = ParseFontDescription(description);
    FUZZ_CHECK(description.starts_with(font.face));
    std::wstring_view rest = std::wstring_view(description).substr(font.face.size());
    bool bold = false, italic = false;
    for (; !rest.empty(); rest.remove_prefix(rest.starts_with(L" bold") ? 5 : 7))
    {
        bold |= rest.starts_with(L" bold");
        italic |= rest.starts_with(L" italic");
        FUZZ_CHECK(rest.starts_with(L" bold") || rest.starts_with(L" italic"));
    }
    FUZZ_CHECK(font.bold == bold && font.italic == italic);
    FUZZ_CHECK(ParseFontDescription(font.face) == (FontDescription{font.face, false, false}));
    return 0;
}
