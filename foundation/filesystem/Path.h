#pragma once
// Path: a file-system path over the Windows convention.
#include "foundation/filesystem/PathT.h"
#include "foundation/filesystem/WindowsPathConvention.h"

namespace FileSystem {

typedef PathT<WindowsPathConvention> Path;

}  // namespace FileSystem
