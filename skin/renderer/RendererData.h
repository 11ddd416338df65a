#pragma once
// What the layout renderer draws with, kept by the skinned surface: the
// layout and resource managers and the bitmaps loaded from skin files.
#include "graphics/commongui/SharedGDIObject.h"
#include "skin/layout/IManager.h"

#include <boost/shared_ptr.hpp>

#include <map>
#include <string>

namespace ResourceLib {
class IManager;
}  // namespace ResourceLib

namespace LayoutRenderer {

// Keyed by the path as the skin writes it. Never emptied: a skin file
// deleted after its first paint still draws. Failed loads are not kept, so
// a file that appears later draws at the next paint.
typedef std::map<std::wstring, CommonGuiLib::SharedBitmap> BitmapCache;

struct RendererData {
    boost::shared_ptr<LayoutLib::IManager> layoutManager;
    boost::shared_ptr<ResourceLib::IManager> resourceManager;
    BitmapCache bitmapCache;
};

}  // namespace LayoutRenderer
