#pragma once
// Path: a file-system path over the Windows convention.
#include "foundation/filesystem/PathT.h"
#include "foundation/filesystem/WindowsPathConvention.h"

#include <string>

namespace FileSystem {

typedef PathT<WindowsPathConvention> Path;

// Whether two file-system paths name the same place by their texts: each
// loses one trailing separator, then they compare exactly or, as Windows
// paths do, without regard to case (the user's locale maps the case, with no
// linguistic equivalences). Two empty paths are the same.
bool IsSamePath(const std::wstring& a, const std::wstring& b);

}  // namespace FileSystem
