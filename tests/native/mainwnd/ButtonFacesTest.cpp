#include "mainwnd/ButtonFaces.h"

#include "resources/KavrinDlgRes.h"

#include <gtest/gtest.h>

// That only whole trailing style words count is FontDescriptionFuzz's check.
TEST(ButtonFaces, StyleWordsBecomeWeightAndSlant)
{
    const std::pair<const wchar_t*, FontDescription> cases[] = {
        {L"Arial bold", {L"Arial", true, false}},
        {L"Times New Roman bold italic", {L"Times New Roman", true, true}},
        {L"Times New Roman italic", {L"Times New Roman", false, true}},
    };
    for (const auto& [description, font] : cases)
        EXPECT_EQ(ParseFontDescription(description), font) << testing::PrintToString(std::wstring(description));
}

TEST(ButtonFaces, EachOwnerDrawnButtonHasItsFaceWithColoursInColorrefOrder)
{
    for (int id : {IDC_SYNCHRONIZE_NOW, IDC_CHANGE_POOL, IDOK_EXIT_KAVRIN, IDC_MINIMIZE_TO_TRAY, ID_HELP, IDC_SET_EXIT_TIME})
        EXPECT_NE(FindButtonFace(id), nullptr) << id;
    EXPECT_EQ(FindButtonFace(IDC_CANCEL_EXIT), nullptr) << "a plain push button";
    EXPECT_EQ(FindButtonFace(IDC_CHANGE_POOL)->background, 0x007F14u) << "RGB(20, 127, 0) as 0x00BBGGRR";
}
