#include "controls/BufferDC_win.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

namespace
{
TEST(BufferDC, DrawingReachesTheAreaOfTheTargetWhenTheBufferEndsAndItsObjectsGo)
{
    constexpr COLORREF kRed = RGB(255, 0, 0);
    const CPixels target({100, 60}, RGB(255, 255, 255));
    const RECT area{20, 10, 80, 50}, all{0, 0, 100, 60};
    HDC memory = nullptr;
    {
        const CBufferDC buffer(target.Get(), area);
        memory = buffer.Get();
        // In the target's coordinates, and spilling past the area on purpose.
        ::FillRect(memory, &all, CUniqueBrush(::CreateSolidBrush(kRed)).Get());
        EXPECT_EQ(target.Count(kRed), 0) << "nothing on the target yet";
    }
    EXPECT_EQ(target.Count(kRed, 0, area), 60 * 40);
    EXPECT_EQ(target.Count(kRed), 60 * 40) << "and nothing outside the area";
    // The clock label paints through a buffer every second: a leak would use up the system's objects.
    EXPECT_EQ(::GetObjectType(memory), 0u);
}
} // namespace
