#include "mainwnd/ButtonFaces.h"

#include "controls/Colour.h"
#include "resources/KavrinDlgRes.h"

#include <algorithm>

namespace
{
constexpr std::array<ButtonFace, 6> kButtonFaces = {{
    {IDC_SYNCHRONIZE_NOW, L"Arial bold", 14, Rgb(160, 160, 160), Rgb(255, 0, 0)},
    {IDOK_EXIT_KAVRIN, L"Times New Roman bold italic", 9, Rgb(240, 240, 240), Rgb(240, 0, 0)},
    {IDC_CHANGE_POOL, L"Times New Roman italic", 9, Rgb(20, 127, 0), Rgb(255, 255, 0)},
    {IDC_MINIMIZE_TO_TRAY, L"Arial bold italic", 9, Rgb(240, 240, 240), Rgb(0, 0, 255)},
    {ID_HELP, L"Arial bold italic", 9, Rgb(240, 240, 240), Rgb(0, 192, 0)},
    {IDC_SET_EXIT_TIME, L"Arial bold", 9, Rgb(240, 240, 240), Rgb(0, 0, 220)},
}};

bool EndsWithWord(std::wstring_view text, std::wstring_view word)
{
    return text.size() > word.size() && text.ends_with(word) && text[text.size() - word.size() - 1] == L' ';
}
} // namespace

FontDescription ParseFontDescription(std::wstring_view description)
{
    FontDescription font;
    for (bool found = true; found;)
    {
        found = false;
        if (EndsWithWord(description, L"bold"))
        {
            font.bold = found = true;
            description.remove_suffix(5);
        }
        else if (EndsWithWord(description, L"italic"))
        {
            font.italic = found = true;
            description.remove_suffix(7);
        }
    }
    font.face = description;
    return font;
}

const ButtonFace* FindButtonFace(int id)
{
    const auto face = std::find_if(kButtonFaces.begin(), kButtonFaces.end(), [id](const ButtonFace& f) { return f.id == id; });
    return face != kButtonFaces.end() ? &*face : nullptr;
}
