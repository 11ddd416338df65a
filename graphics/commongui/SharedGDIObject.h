#pragma once
// One GDI handle behind a boost shared pointer: bitmaps, icons, fonts and
// regions travel between the resource manager and the windows in these, and
// the last owner frees the handle. A null handle means nothing was loaded.
#include <windows.h>

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

namespace CommonGuiLib {

enum SharedGDIObjectKind {
    SharedGDIObjectBitmap = 0,
    SharedGDIObjectIcon = 1,
    // 2 is not used.
    SharedGDIObjectFont = 3,
    SharedGDIObjectRegion = 4,
};

template <int Kind>
struct SharedGDIObjectTraits;

template <>
struct SharedGDIObjectTraits<SharedGDIObjectBitmap> {
    typedef HBITMAP Handle;
    static void Free(Handle handle) noexcept { ::DeleteObject(handle); }
};
template <>
struct SharedGDIObjectTraits<SharedGDIObjectIcon> {
    typedef HICON Handle;
    static void Free(Handle handle) noexcept { ::DestroyIcon(handle); }
};
template <>
struct SharedGDIObjectTraits<SharedGDIObjectFont> {
    typedef HFONT Handle;
    static void Free(Handle handle) noexcept { ::DeleteObject(handle); }
};
template <>
struct SharedGDIObjectTraits<SharedGDIObjectRegion> {
    typedef HRGN Handle;
    static void Free(Handle handle) noexcept { ::DeleteObject(handle); }
};

// Owns exactly one handle. Made only with boost::make_shared, so that one
// allocation holds the counts and the holder; never copied.
template <int Kind>
class SharedGDIObjectImpl {
public:
    typedef typename SharedGDIObjectTraits<Kind>::Handle Handle;

    // Takes the handle over (null is allowed).
    explicit SharedGDIObjectImpl(Handle handle) noexcept : m_handle(handle) {}
    ~SharedGDIObjectImpl() {
        if (m_handle)
            SharedGDIObjectTraits<Kind>::Free(m_handle);
    }
    SharedGDIObjectImpl(const SharedGDIObjectImpl&) = delete;
    SharedGDIObjectImpl& operator=(const SharedGDIObjectImpl&) = delete;

    Handle GetHandle() const noexcept { return m_handle; }

private:
    Handle m_handle;
};

typedef boost::shared_ptr<SharedGDIObjectImpl<SharedGDIObjectBitmap>> SharedBitmap;
typedef boost::shared_ptr<SharedGDIObjectImpl<SharedGDIObjectIcon>> SharedIcon;
typedef boost::shared_ptr<SharedGDIObjectImpl<SharedGDIObjectFont>> SharedFont;
typedef boost::shared_ptr<SharedGDIObjectImpl<SharedGDIObjectRegion>> SharedRegion;

// The one way to make a shared object: takes the handle over.
template <int Kind>
boost::shared_ptr<SharedGDIObjectImpl<Kind>> MakeSharedGDIObject(typename SharedGDIObjectTraits<Kind>::Handle handle) {
    return boost::make_shared<SharedGDIObjectImpl<Kind>>(handle);
}

// True for an empty pointer or a null handle: test before every use.
template <int Kind>
bool IsNullGDIObject(const boost::shared_ptr<SharedGDIObjectImpl<Kind>>& object) noexcept {
    return !object || !object->GetHandle();
}

// The handle, or null for an empty pointer.
template <int Kind>
typename SharedGDIObjectTraits<Kind>::Handle GetHandle(const boost::shared_ptr<SharedGDIObjectImpl<Kind>>& object) noexcept {
    return object ? object->GetHandle() : nullptr;
}

}  // namespace CommonGuiLib
