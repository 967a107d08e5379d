#include "mainwnd/ButtonFaces.h"

#include <gtest/gtest.h>

// That every owner-drawn button of the window has a face is MainWindowLayout's check.
TEST(ButtonFaces, StyleWordsBecomeWeightAndSlant)
{
    const std::pair<const wchar_t*, FontDescription> cases[] = {
        {L"Arial bold", {L"Arial", true, false}},
        {L"Times New Roman bold italic", {L"Times New Roman", true, true}},
        {L"Times New Roman italic", {L"Times New Roman", false, true}},
        {L"Arialbold italic", {L"Arialbold", false, true}}, // only whole words
    };
    for (const auto& [description, font] : cases)
        EXPECT_EQ(ParseFontDescription(description), font) << testing::PrintToString(std::wstring(description));
}
