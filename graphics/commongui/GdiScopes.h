#pragma once
// Scoped owners of the short-lived GDI objects the drawing code makes:
// the screen's device context, memory device contexts, brushes and pens, and
// selections.
#include <windows.h>

namespace CommonGuiLib {

class ScopedScreenDC {
public:
    ScopedScreenDC() noexcept : m_dc(::GetDC(nullptr)) {}
    ~ScopedScreenDC() {
        if (m_dc)
            ::ReleaseDC(nullptr, m_dc);
    }
    ScopedScreenDC(const ScopedScreenDC&) = delete;
    ScopedScreenDC& operator=(const ScopedScreenDC&) = delete;
    HDC Get() const noexcept { return m_dc; }

private:
    HDC m_dc;
};

// A memory device context compatible with another one, deleted with DeleteDC.
class ScopedMemoryDC {
public:
    explicit ScopedMemoryDC(HDC compatibleWith) noexcept : m_dc(::CreateCompatibleDC(compatibleWith)) {}
    ~ScopedMemoryDC() {
        if (m_dc)
            ::DeleteDC(m_dc);
    }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
    HDC Get() const noexcept { return m_dc; }

private:
    HDC m_dc;
};

// A brush, pen or other object deleted with DeleteObject.
template <class Handle>
class ScopedGdiObject {
public:
    explicit ScopedGdiObject(Handle handle) noexcept : m_handle(handle) {}
    ~ScopedGdiObject() {
        if (m_handle)
            ::DeleteObject(m_handle);
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    Handle Get() const noexcept { return m_handle; }

private:
    Handle m_handle;
};

// Selects an object into a device context and puts the previous one back;
// the selection must end before the object is deleted.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_previous(object ? ::SelectObject(dc, object) : nullptr) {}
    ~ScopedSelection() {
        if (m_previous)
            ::SelectObject(m_dc, m_previous);
    }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

}  // namespace CommonGuiLib
