#pragma once
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <shellapi.h>

namespace FileSystem {

// SHFileOperationW (FO_COPY, FO_MOVE or FO_DELETE) on one item, silent and
// without questions; allowUndo sends deleted items to the recycle bin. A
// failure is reported as "((shRes))" and answered with false.
bool _ShellFileOperation(UINT operation, const wlitestring& source, const wlitestring& destination,
                         bool allowUndo);

}  // namespace FileSystem
