#include "graphics/commongui/SharedGDIObject.h"

#include <gtest/gtest.h>

namespace {

using namespace CommonGuiLib;

// True while the handle still names a live object of its kind.
bool IsAlive(HGDIOBJ object) { return ::GetObjectType(object) != 0; }
bool IsAlive(HICON icon) {
    ICONINFO info = {};
    if (!::GetIconInfo(icon, &info))
        return false;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return true;
}

template <int Kind>
void ExpectFreedWithTheLastOwner(typename SharedGDIObjectTraits<Kind>::Handle handle) {
    ASSERT_TRUE(handle);
    ASSERT_TRUE(IsAlive(handle));
    boost::shared_ptr<SharedGDIObjectImpl<Kind>> first = MakeSharedGDIObject<Kind>(handle);
    boost::shared_ptr<SharedGDIObjectImpl<Kind>> second = first;
    EXPECT_FALSE(IsNullGDIObject(first));
    EXPECT_EQ(handle, GetHandle(second));
    first.reset();
    EXPECT_TRUE(IsAlive(handle));
    second.reset();
    EXPECT_FALSE(IsAlive(handle));
}

TEST(SharedGDIObject, TheLastOwnerFreesTheHandle) {
    {
        SCOPED_TRACE("bitmap");
        ExpectFreedWithTheLastOwner<SharedGDIObjectBitmap>(::CreateBitmap(4, 4, 1, 32, nullptr));
    }
    {
        SCOPED_TRACE("icon");
        const BYTE andBits[4 * 16] = {};
        const BYTE xorBits[4 * 16] = {};
        ExpectFreedWithTheLastOwner<SharedGDIObjectIcon>(::CreateIcon(nullptr, 16, 16, 1, 1, andBits, xorBits));
    }
    {
        SCOPED_TRACE("font");
        LOGFONTW font = {};
        font.lfHeight = -12;
        ExpectFreedWithTheLastOwner<SharedGDIObjectFont>(::CreateFontIndirectW(&font));
    }
    {
        SCOPED_TRACE("region");
        ExpectFreedWithTheLastOwner<SharedGDIObjectRegion>(::CreateRectRgn(0, 0, 5, 5));
    }
}

TEST(SharedGDIObject, NullObjects) {
    EXPECT_TRUE(IsNullGDIObject(SharedBitmap()));
    EXPECT_TRUE(IsNullGDIObject(SharedFont()));
    const SharedRegion empty = MakeSharedGDIObject<SharedGDIObjectRegion>(nullptr);
    EXPECT_TRUE(empty);
    EXPECT_TRUE(IsNullGDIObject(empty));
    EXPECT_EQ(nullptr, GetHandle(SharedIcon()));
}

}  // namespace
