#pragma once
// RegPathConvention: registry key paths. Backslash separated, '\' alone is the
// root, no network form, names compare exactly, every text is valid; an empty
// path takes a first part without a separator in front.
#include "foundation/filesystem/SimplePathConventionImpl.h"

#include <string>

namespace Registry {

class RegPathConvention : public FileSystem::SimplePathConventionImpl<RegPathConvention> {
public:
    RegPathConvention();

    bool SetTrailingSeparator(std::wstring& path, int mode) const override;
};

}  // namespace Registry
