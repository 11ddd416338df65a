#include "appframework/application/ClassObjectRegistration.h"

#include "foundation/errors/ClassifiedExceptionsGuard.h"
#include "foundation/errors/ReportingObject.h"

namespace ApplicationFramework {

ClassObjectRegistration::ClassObjectRegistration(CAtlExeModule& atlModule) : m_atlModule(atlModule) {
    m_atlModule.Lock();
    const HRESULT hr = m_atlModule.RegisterClassObjects(CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE);
    m_isRegistered = SUCCEEDED(hr);
    if (!m_isRegistered) {
        const ErrorHandling::ErrorCode code(hr);
        Reporting::GetModuleReportingObject().ReportWarning(
            "((m_atlModule.RegisterClassObjects(CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE )))", &code);
    }
}

ClassObjectRegistration::~ClassObjectRegistration() {
    HRESULT hr = S_OK;
    ErrorHandling::ClassifiedExceptionsGuard([&]() { hr = m_atlModule.RevokeClassObjects(); });
    if (FAILED(hr)) {
        const ErrorHandling::ErrorCode code(hr);
        Reporting::GetModuleReportingObject().ReportWarning("((hr))", &code);
    }
    LONG locks = 0;
    ErrorHandling::ClassifiedExceptionsGuard([&]() { locks = m_atlModule.Unlock(); });
    (void)locks;
}

}  // namespace ApplicationFramework
