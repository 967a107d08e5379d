#pragma once
// An off-screen surface for one paint: drawing goes to a memory bitmap the
// size of `rect`, in the target's own coordinates, and the finished picture
// is copied to the target in one BitBlt when the object goes out of scope.
// When no bitmap can be had, Get() answers the target itself, so callers
// draw the same way either way (with flicker as the only loss).

#include "framework/Handles_win.h"

#include <optional>

class CBufferDC
{
public:
    CBufferDC(HDC target, const RECT& rect) noexcept;
    ~CBufferDC();
    CBufferDC(const CBufferDC&) = delete;
    CBufferDC& operator=(const CBufferDC&) = delete;

    HDC Get() const noexcept { return m_memoryDC ? m_memoryDC.Get() : m_target; }
    bool IsBuffered() const noexcept { return m_memoryDC.IsValid(); }
    const RECT& GetRect() const noexcept { return m_rect; }

    // Leaves the target untouched when the object goes out of scope.
    void Discard() noexcept { m_bDiscarded = true; }

private:
    HDC m_target;
    RECT m_rect;
    bool m_bDiscarded = false;
    // Declared in this order so that the bitmap is deselected before it and
    // the memory DC are deleted.
    CUniqueMemoryDC m_memoryDC;
    CUniqueBitmap m_bitmap;
    std::optional<CSelectObject> m_selectBitmap;
};
