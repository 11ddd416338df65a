#include "skin/autosurface/WindowShape.h"

#include "resources/resourcelib/IManager.h"
#include "graphics/commongui/PictureLoaders.h"
#include "skin/commongui/RegionHelpers.h"
#include "skin/commongui/AnchoredRegionSet.h"
#include "skin/layout/CustomGetters.h"
#include "skin/layout/IElement.h"
#include "skin/layout/IObject.h"

namespace WindowShape {

namespace {

using CommonGuiLib::SharedRegion;

const LayoutLib::CustomValues kNoValues;

SharedRegion Own(HRGN region) {
    return CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectRegion>(region);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info))
        return SIZE{};
    return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

// The mask's region, stretched to w x h when "scaleMask" asks for it.
SharedRegion BuildMaskRegion(const LayoutLib::CustomValues& values, int w, int h, const MaskSources& sources) {
    if (!sources.resourceManager)
        return SharedRegion();
    const std::wstring mask = LayoutLib::GetCustomString(L"mask", values, kNoValues, L"");
    const std::wstring maskPath = LayoutLib::GetCustomString(L"maskPath", values, kNoValues, L"");
    const bool scale = LayoutLib::GetCustomBool(L"scaleMask", values, kNoValues, false);
    const bool useAlpha = LayoutLib::GetCustomBool(L"useAlpha", values, kNoValues, false);
    const int tolerance = LayoutLib::GetCustomInt(L"alphaTolerance", values, kNoValues, 0);
    if (mask.empty() && maskPath.empty())
        return SharedRegion();

    const std::wstring source = mask.empty() ? L"file:" + maskPath : L"name:" + mask;
    const MaskRegionCache::Key key(source, useAlpha, tolerance, scale ? w : 0, scale ? h : 0);
    if (sources.cache) {
        if (SharedRegion* cached = sources.cache->Find(key))
            return *cached;
    }

    CommonGuiLib::SharedBitmap bitmap;
    if (!mask.empty()) {
        bitmap = sources.resourceManager->GetBitmapByName(mask.c_str(), ResourceLib::PremultiplyAlpha(false));
    } else {
        std::wstring path = sources.baseFolder;
        if (!path.empty() && path.back() != L'\\' && path.back() != L'/')
            path += L'\\';
        bitmap = CommonGuiLib::LoadBitmapFromFile((path + maskPath).c_str(), false);
    }
    if (CommonGuiLib::IsNullGDIObject(bitmap))
        return SharedRegion();
    SharedRegion region = CommonGuiLib::CreateRegionFromBitmap(bitmap, RGB(255, 255, 255), useAlpha, tolerance);
    if (CommonGuiLib::IsNullGDIObject(region))
        return SharedRegion();

    const SIZE size = BitmapSize(bitmap->GetHandle());
    if (scale && size.cx > 0 && size.cy > 0) {
        XFORM transform = {};
        transform.eM11 = w != size.cx ? static_cast<float>(w) / size.cx : 1.0f;
        transform.eM22 = h != size.cy ? static_cast<float>(h) / size.cy : 1.0f;
        region = CommonGuiLib::TransformRegion(region, transform);
        if (CommonGuiLib::IsNullGDIObject(region))
            return SharedRegion();
    }
    if (sources.cache)
        sources.cache->Store(key, region);
    return region;
}

}  // namespace

SharedRegion* MaskRegionCache::Find(const Key& key) {
    const auto found = m_regions.find(key);
    return found == m_regions.end() ? nullptr : &found->second;
}

SharedRegion BuildShapeRegion(int shapeType, const LayoutLib::CustomValues& values, const RECT& target,
                              const MaskSources& sources) {
    const int w = target.right - target.left;
    const int h = target.bottom - target.top;
    SharedRegion region;
    switch (shapeType) {
    case LayoutLib::ShapeRectangular:
        region = Own(::CreateRectRgn(0, 0, w, h));
        break;
    case LayoutLib::ShapeRoundedRectangular:
        region = Own(::CreateRoundRectRgn(0, 0, w, h, LayoutLib::GetCustomInt(L"rx", values, kNoValues, 0),
                                          LayoutLib::GetCustomInt(L"ry", values, kNoValues, 0)));
        break;
    case LayoutLib::ShapeElliptic:
        region = Own(::CreateEllipticRgn(0, 0, w, h));
        break;
    case LayoutLib::ShapeMasked:
        region = BuildMaskRegion(values, w, h, sources);
        break;
    default:  // Custom: no region, and the offsets are not applied.
        return SharedRegion();
    }
    if (CommonGuiLib::IsNullGDIObject(region))
        return SharedRegion();
    // Always a copy: a cached mask region must not travel to a window.
    return CommonGuiLib::OffsetRegionCopy(region, LayoutLib::GetCustomInt(L"offsetX", values, kNoValues, 0),
                                          LayoutLib::GetCustomInt(L"offsetY", values, kNoValues, 0));
}

UINT ToRegionSetAnchors(int layoutAnchors) {
    typedef CommonGuiLib::AnchoredRegionSet Set;
    UINT anchors = 0;
    if (layoutAnchors & LayoutLib::AnchorLeft)
        anchors |= Set::AnchorLeft;
    if (layoutAnchors & LayoutLib::AnchorRight)
        anchors |= Set::AnchorRight;
    if (layoutAnchors & LayoutLib::AnchorTop)
        anchors |= Set::AnchorTop;
    if (layoutAnchors & LayoutLib::AnchorBottom)
        anchors |= Set::AnchorBottom;
    if (layoutAnchors & LayoutLib::AnchorHorzCenter)
        anchors |= Set::AnchorHorzCenter;
    if (layoutAnchors & LayoutLib::AnchorVertCenter)
        anchors |= Set::AnchorVertCenter;
    return anchors;
}

bool SetWindowRegionCopy(HWND window, const SharedRegion& region, bool redraw) {
    if (CommonGuiLib::IsNullGDIObject(region))
        return false;
    HRGN copy = ::CreateRectRgn(0, 0, 0, 0);
    if (!copy)
        return false;
    if (::CombineRgn(copy, region->GetHandle(), nullptr, RGN_COPY) == ERROR || !::SetWindowRgn(window, copy, redraw)) {
        ::DeleteObject(copy);
        return false;
    }
    return true;
}

}  // namespace WindowShape
