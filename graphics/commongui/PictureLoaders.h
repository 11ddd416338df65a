#pragma once
// Bitmaps and icons from files and module resources. A loader that fails
// returns a shared object holding a null handle, never an exception.
//
// A resource name is a text or, by the MAKEINTRESOURCE convention, an id in
// the pointer of a reference whose length is left unmeasured.
#include "graphics/commongui/SharedGDIObject.h"

#include "foundation/strings/LiteString.h"

#include <windows.h>

namespace CommonGuiLib {

// Any format GDI+ decodes; 32-bit pictures keep straight alpha unless
// `premultiply` is set.
SharedBitmap LoadBitmapFromFile(const wlitestring& path, bool premultiply);

// The bitmap comes from whichever module of MFC's resource chain holds the
// name; `module` is not consulted.
SharedBitmap LoadBitmapFromResource(HMODULE module, const wlitestring& name, bool premultiply);
SharedBitmap LoadBitmapFromResourceId(HMODULE module, WORD id, bool premultiply);

// The image of the icon file nearest to the size asked for, at that size.
SharedIcon LoadIconFromFile(const wlitestring& path, int width, int height);
SharedIcon LoadIconFromResource(HMODULE module, const wlitestring& name, int width, int height);
SharedIcon LoadIconFromResourceId(HMODULE module, WORD id, int width, int height);

}  // namespace CommonGuiLib
