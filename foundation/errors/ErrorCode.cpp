#include "foundation/errors/ErrorCode.h"

namespace ErrorHandling {

ErrorCode ErrorCode::FromWin32Result(BOOL result) noexcept {
    if (result)
        return ErrorCode(S_OK);
    return FromLastError();
}

ErrorCode ErrorCode::FromWin32Error(DWORD error) noexcept {
    const LONG value = static_cast<LONG>(error);
    if (value <= 0)
        return ErrorCode(value);
    return ErrorCode(static_cast<HRESULT>(0x80070000ul | (error & 0xFFFFul)));
}

ErrorCode ErrorCode::FromLastError() noexcept {
    return FromWin32Error(::GetLastError());
}

}  // namespace ErrorHandling
