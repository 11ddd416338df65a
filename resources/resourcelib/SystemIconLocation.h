#pragma once
// Icons inside system files, named by their location "file,index" as the
// shell writes it ("shell32.dll,3").
#include "foundation/strings/LiteString.h"
#include "graphics/commongui/SharedGDIObject.h"

#include <string>

namespace ResourceLib {

// The text before the last comma is the file, the decimal digits after it
// the index. False for no comma, a comma first or last, a character after
// the comma that is no digit, or an index beyond INT_MAX.
bool ParseIconLocation(const wlitestring& location, std::wstring& file, int& index);

// The small (16 x 16) or large (32 x 32) icon at the location; null for any
// other size, a bad location, or a file without that icon.
CommonGuiLib::SharedIcon ExtractIconFromLocation(const wlitestring& location, int width, int height);

}  // namespace ResourceLib
