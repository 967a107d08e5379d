#include "mainwnd/ButtonFaces.h"

#include "resources/KavrinDlgRes.h"

#include <gtest/gtest.h>

TEST(ButtonFaces, StyleWordsBecomeWeightAndSlant)
{
    const struct
    {
        const wchar_t* description;
        FontDescription font;
    } cases[] = {
        {L"Arial bold", {L"Arial", true, false}},
        {L"Times New Roman bold italic", {L"Times New Roman", true, true}},
        {L"Times New Roman italic", {L"Times New Roman", false, true}},
        {L"Arial", {L"Arial", false, false}},
        {L"Boldface", {L"Boldface", false, false}},
        {L"bold", {L"bold", false, false}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseFontDescription(c.description), c.font) << testing::PrintToString(std::wstring(c.description));
}

TEST(ButtonFaces, EachOwnerDrawnButtonHasItsFace)
{
    const ButtonFace* sync = FindButtonFace(IDC_SYNCHRONIZE_NOW);
    ASSERT_NE(sync, nullptr);
    EXPECT_EQ(sync->points, 14);
    EXPECT_EQ(sync->text, 0x0000FFu) << "red";
    const ButtonFace* pool = FindButtonFace(IDC_CHANGE_POOL);
    ASSERT_NE(pool, nullptr);
    EXPECT_EQ(pool->background, 0x007F14u) << "RGB(20,127,0)";
    for (int id : {IDOK_EXIT_KAVRIN, IDC_MINIMIZE_TO_TRAY, ID_HELP, IDC_SET_EXIT_TIME})
        EXPECT_NE(FindButtonFace(id), nullptr) << id;
    EXPECT_EQ(FindButtonFace(IDC_CANCEL_EXIT), nullptr) << "a plain push button";
}
