#pragma once
// A complete manager over one resource folder: languages and skins from its
// Metadata.xml, then loose files, Resources.xml and (for an id base of 0 or
// more) the executable's own resources, in that search order.
//
//   boost::shared_ptr<IManager> base = ResourceLib::CreateDefaultManager(L"C:\\App\\Resources\\Base", -1);
//
// Raises what reading Metadata.xml raises.
#include "resources/resourcelib/IManager.h"

namespace ResourceLib {

boost::shared_ptr<IManager> CreateDefaultManager(const wlitestring& rootPath, int moduleIdBase);

}  // namespace ResourceLib
