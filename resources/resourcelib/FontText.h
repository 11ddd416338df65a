#pragma once
// Fonts as skins describe them: alternatives separated by "|", each a list of
//   face,height,bold,italic,underline,strikeout,quality
// with at least one comma. The first alternative whose face is installed
// wins; the last one is tried without that test. A face of "@CaptionFont",
// "@SmallCaptionFont", "@MenuFont", "@StatusFont" or "@MessageFont" is that
// font of the system, and its values fill the empty fields.
//
//   CreateFontFromText(L"Segoe UI,-12|Tahoma,-13,1");
//   CreateFontFromText(L"@MenuFont,");
#include "foundation/strings/LiteString.h"
#include "resources/resourcelib/ResourceType.h"

namespace ResourceLib {

// An empty pointer when no alternative gives a font. A numeric field that is
// not a decimal number raises boost::bad_lexical_cast.
SharedFont CreateFontFromText(const wlitestring& fontText);

}  // namespace ResourceLib
