#include "foundation/sync/RaiseLastError.h"

#include "foundation/errors/ErrorCode.h"

#include <afxexcept.h>

namespace Synchronization {
namespace Impl {

void RaiseLastError() {
    const ErrorHandling::ErrorCode code = ErrorHandling::ErrorCode::FromLastError();
    if (code.IsFailure())
        AfxThrowOleException(code.Value());
}

}  // namespace Impl
}  // namespace Synchronization
