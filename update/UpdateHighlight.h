#pragma once
// How the update dialog highlights its message: a base format for the
// whole text, then spans restyled in order. Spans are found in the text as
// the rich-edit control holds it (each line break one character), the way
// the control's own forward search finds them: ignoring case unless told
// otherwise. A span whose anchors are missing is left out.

#include "controls/Colour.h"
#include "update/UpdateCheck.h"

#include <string>
#include <string_view>
#include <vector>

namespace UpdateHighlight
{
struct Style
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // Only the colour changes; the effects stay as they are.
    bool colourOnly = false;
    unsigned long colour = 0; // 0x00BBGGRR, as COLORREF

    friend bool operator==(const Style&, const Style&) = default;
};

struct Span
{
    int start = 0;
    int end = 0; // one past the last character
    Style style;

    friend bool operator==(const Span&, const Span&) = default;
};

struct Formatting
{
    int heightTwips = 160;
    unsigned long colour = Rgb(0, 0, 160);
    std::vector<Span> spans;
};

// The text as the control keeps it: every line break (CR LF, CR or LF)
// becomes one CR.
std::wstring ControlText(std::wstring_view text);

// `controlText` is the message as the control holds it.
Formatting ForMessage(UpdateMode mode, std::wstring_view controlText);

// The message of the view that follows a finished "Download Only".
std::wstring DownloadedMessage(const std::wstring& setupFileName, const std::wstring& downloadFolder);
Formatting ForDownloaded(std::wstring_view controlText);
} // namespace UpdateHighlight
