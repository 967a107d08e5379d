#pragma once
// The looks of the main window's owner-drawn buttons.

#include <array>
#include <string>
#include <string_view>

struct FontDescription
{
    std::wstring face;
    bool bold = false;
    bool italic = false;
    friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

// A face given with its style words ("Times New Roman bold italic"): the
// words become the weight and slant, the rest is the face the font mapper
// can find.
FontDescription ParseFontDescription(std::wstring_view description);

struct ButtonFace
{
    int id;
    const wchar_t* font;
    int points;
    unsigned long background; // 0x00BBGGRR, as COLORREF
    unsigned long text;
};

// The face of button `id`, or null when it is drawn some other way.
const ButtonFace* FindButtonFace(int id);
