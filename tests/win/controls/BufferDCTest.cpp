#include "controls/BufferDC_win.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

namespace
{
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

TEST(BufferDC, DrawingReachesTheAreaOfTheTargetWhenTheBufferEndsAndItsObjectsGo)
{
    const CTestSurface target({100, 60}, kWhite);
    const RECT area{20, 10, 80, 50};
    HDC memory = nullptr;
    HGDIOBJ bitmap = nullptr;
    {
        const CBufferDC buffer(target.Get(), area);
        memory = buffer.Get();
        bitmap = ::GetCurrentObject(memory, OBJ_BITMAP);
        ASSERT_EQ(::GetObjectType(memory), static_cast<DWORD>(OBJ_MEMDC));
        // In the target's coordinates, and spilling past the area on purpose.
        const CUniqueBrush brush(::CreateSolidBrush(kRed));
        const RECT all{0, 0, 100, 60};
        ::FillRect(memory, &all, brush.Get());
        EXPECT_EQ(target.Snapshot().Count(kRed), 0) << "nothing on the target yet";
    }
    const CPixels pixels = target.Snapshot();
    const RECT red = pixels.Bounds(kRed).value_or(RECT{});
    EXPECT_TRUE(::EqualRect(&red, &area));
    EXPECT_EQ(pixels.Count(kRed), 60 * 40);
    // The clock label paints through a buffer every second: a leak would use up the system's objects.
    EXPECT_EQ(::GetObjectType(memory), 0u);
    EXPECT_EQ(::GetObjectType(bitmap), 0u);
    EXPECT_EQ(::GetCurrentObject(target.Get(), OBJ_BITMAP), target.GetBitmap()) << "the target keeps its own bitmap";

    const CBufferDC empty(target.Get(), RECT{5, 5, 5, 9});
    EXPECT_EQ(empty.Get(), target.Get()) << "an empty area is drawn straight on the target";
}
} // namespace
