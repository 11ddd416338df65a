#pragma once
// The HRESULT of the last Win32 error; E_FAIL when none was set.
#include <windows.h>

namespace Vantrel {

inline HRESULT LastErrorResult() {
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

}  // namespace Vantrel
