#include "controls/BufferDC_win.h"

CBufferDC::CBufferDC(HDC target, const RECT& rect) noexcept : m_target(target), m_rect(rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (!target || width <= 0 || height <= 0)
        return;
    CUniqueMemoryDC memoryDC(::CreateCompatibleDC(target));
    CUniqueBitmap bitmap(::CreateCompatibleBitmap(target, width, height));
    if (!memoryDC || !bitmap)
        return;
    m_memoryDC = std::move(memoryDC);
    m_bitmap = std::move(bitmap);
    m_selectBitmap.emplace(m_memoryDC.Get(), m_bitmap.Get());
    // Callers draw in the target's coordinates; the bitmap starts at rect's corner.
    ::SetViewportOrgEx(m_memoryDC.Get(), -rect.left, -rect.top, nullptr);
    // The memory DC starts with the system font and default colours;
    // give it what the target has, as drawing code expects.
    ::SelectObject(m_memoryDC.Get(), ::GetCurrentObject(target, OBJ_FONT));
    ::SetTextColor(m_memoryDC.Get(), ::GetTextColor(target));
    ::SetBkColor(m_memoryDC.Get(), ::GetBkColor(target));
    ::SetBkMode(m_memoryDC.Get(), ::GetBkMode(target));
}

CBufferDC::~CBufferDC()
{
    if (!m_memoryDC || m_bDiscarded)
        return;
    ::SetViewportOrgEx(m_memoryDC.Get(), 0, 0, nullptr);
    ::BitBlt(m_target, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top,
             m_memoryDC.Get(), 0, 0, SRCCOPY);
}
