#include "controls/BufferDC.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

namespace
{
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

void Fill(HDC hdc, const RECT& rect, COLORREF colour)
{
    const CUniqueBrush brush(::CreateSolidBrush(colour));
    ::FillRect(hdc, &rect, brush.Get());
}

TEST(BufferDC, DrawingReachesTheTargetOnlyWhenTheBufferEnds)
{
    const CTestSurface target({100, 60}, kWhite);
    const RECT area{20, 10, 80, 50};
    {
        CBufferDC buffer(target.Get(), area);
        ASSERT_TRUE(buffer.IsBuffered());
        EXPECT_NE(buffer.Get(), target.Get());
        // In the target's coordinates, and spilling past the area on purpose.
        Fill(buffer.Get(), RECT{0, 0, 100, 60}, kRed);
        EXPECT_EQ(target.Snapshot().Count(kRed), 0) << "nothing on the target yet";
    }
    const CPixels pixels = target.Snapshot();
    EXPECT_EQ(pixels.At(20, 10), kRed);
    EXPECT_EQ(pixels.At(79, 49), kRed);
    EXPECT_EQ(pixels.At(19, 10), kWhite);
    EXPECT_EQ(pixels.At(80, 49), kWhite);
    EXPECT_EQ(pixels.At(20, 50), kWhite);
    EXPECT_EQ(pixels.Count(kRed), 60 * 40);
}

TEST(BufferDC, StartsWithTheTargetsFontAndColours)
{
    const CTestSurface target({40, 20}, kWhite);
    const CUniqueFont font(::CreateFontW(-20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                         L"Arial"));
    const CSelectObject selected(target.Get(), font.Get());
    ::SetTextColor(target.Get(), RGB(1, 2, 3));
    ::SetBkMode(target.Get(), TRANSPARENT);
    const CBufferDC buffer(target.Get(), RECT{0, 0, 40, 20});
    EXPECT_EQ(::GetCurrentObject(buffer.Get(), OBJ_FONT), font.Get());
    EXPECT_EQ(::GetTextColor(buffer.Get()), RGB(1, 2, 3));
    EXPECT_EQ(::GetBkMode(buffer.Get()), TRANSPARENT);
}

TEST(BufferDC, DiscardLeavesTheTargetAsItWas)
{
    const CTestSurface target({50, 50}, kWhite);
    {
        CBufferDC buffer(target.Get(), RECT{0, 0, 50, 50});
        Fill(buffer.Get(), RECT{0, 0, 50, 50}, kRed);
        buffer.Discard();
    }
    EXPECT_EQ(target.Snapshot().Count(kRed), 0);
}

TEST(BufferDC, AnEmptyAreaDrawsStraightOnTheTarget)
{
    const CTestSurface target({10, 10}, kWhite);
    const CBufferDC buffer(target.Get(), RECT{5, 5, 5, 9});
    EXPECT_FALSE(buffer.IsBuffered());
    EXPECT_EQ(buffer.Get(), target.Get());
}

TEST(BufferDC, FreesItsBitmapAndDeviceContext)
{
    const CTestSurface target({64, 64}, kWhite);
    HDC memory = nullptr;
    HGDIOBJ bitmap = nullptr;
    for (int i = 0; i < 200; ++i)
    {
        CBufferDC buffer(target.Get(), RECT{0, 0, 64, 64});
        memory = buffer.Get();
        bitmap = ::GetCurrentObject(memory, OBJ_BITMAP);
        ASSERT_EQ(::GetObjectType(memory), static_cast<DWORD>(OBJ_MEMDC));
        ASSERT_EQ(::GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
    }
    EXPECT_EQ(::GetObjectType(memory), 0u);
    EXPECT_EQ(::GetObjectType(bitmap), 0u);
    // The target keeps its own bitmap.
    EXPECT_EQ(::GetCurrentObject(target.Get(), OBJ_BITMAP), target.GetBitmap());
}
} // namespace
