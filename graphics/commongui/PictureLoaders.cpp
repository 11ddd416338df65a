#include "graphics/commongui/PictureLoaders.h"

#include "foundation/errors/Checks.h"

#include "graphics/commongui/SharedBitmaps.h"
#include "graphics/gdiplus/GdiplusStartupHolder.h"

#include <afxres_find.h>
#include <atlimage.h>

namespace CommonGuiLib {

namespace {

// The name as Win32 takes it. An id travels in the pointer itself and must
// never be measured or copied.
LPCWSTR ResourceName(const wlitestring& name, wlitestring::c_string_holder& holder) {
    if (IS_INTRESOURCE(name.data()))
        return name.data();
    return holder.assign(name).c_str();
}

}  // namespace

SharedBitmap LoadBitmapFromFile(const wlitestring& path, bool premultiply) {
    HBITMAP bitmap = nullptr;
    if (!path.empty()) {
        // Picture files are decoded by GDI+, started before the program's entry.
        CHECK_WARNING(IsProcessGdiplusStarted());
        wlitestring::c_string_holder file(path);
        ATL::CImage image;
        if (SUCCEEDED(image.Load(file.c_str())))
            bitmap = image.Detach();
    }
    return MakeSharedBitmap(bitmap, premultiply);
}

SharedBitmap LoadBitmapFromResource(HMODULE module, const wlitestring& name, bool premultiply) {
    wlitestring::c_string_holder holder;
    const LPCWSTR resource = ResourceName(name, holder);
    const HINSTANCE owner = ::AfxFindResourceHandle(resource, RT_BITMAP);
    return MakeSharedBitmap(::LoadBitmapW(owner, resource), premultiply);
}

SharedBitmap LoadBitmapFromResourceId(HMODULE module, WORD id, bool premultiply) {
    return LoadBitmapFromResource(module, wlitestring(MAKEINTRESOURCEW(id)), premultiply);
}

SharedIcon LoadIconFromFile(const wlitestring& path, int width, int height) {
    HICON icon = nullptr;
    if (!path.empty()) {
        wlitestring::c_string_holder file(path);
        icon = static_cast<HICON>(
            ::LoadImageW(nullptr, file.c_str(), IMAGE_ICON, width, height, LR_LOADFROMFILE | LR_LOADTRANSPARENT));
    }
    return MakeSharedGDIObject<SharedGDIObjectIcon>(icon);
}

SharedIcon LoadIconFromResource(HMODULE module, const wlitestring& name, int width, int height) {
    wlitestring::c_string_holder holder;
    const LPCWSTR resource = ResourceName(name, holder);
    HICON icon = static_cast<HICON>(::LoadImageW(module, resource, IMAGE_ICON, width, height, LR_LOADTRANSPARENT));
    return MakeSharedGDIObject<SharedGDIObjectIcon>(icon);
}

SharedIcon LoadIconFromResourceId(HMODULE module, WORD id, int width, int height) {
    return LoadIconFromResource(module, wlitestring(MAKEINTRESOURCEW(id)), width, height);
}

}  // namespace CommonGuiLib
