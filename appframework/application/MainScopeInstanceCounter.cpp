#include "appframework/application/MainScopeInstanceCounter.h"

#include "foundation/errors/ReportingObject.h"

namespace ApplicationFramework {

namespace {

void Warn(const char* checkText) {
    const ErrorHandling::ErrorCode code(E_FAIL);
    Reporting::GetModuleReportingObject().ReportWarning(checkText, &code);
}

}  // namespace

MainScopeInstanceCounter::MainScopeInstanceCounter() {
    const int initial = 0;
    System::GetEnvironmentValue(m_pCounter, L"mainScopeInstanceCount", &initial);
    volatile LONG* counter = _GetInstCounter();
    if (counter && ::InterlockedIncrement(counter) != 1)
        Warn("((++_GetInstCounter() == 1))");
}

MainScopeInstanceCounter::~MainScopeInstanceCounter() {
    volatile LONG* counter = _GetInstCounter();
    if (!counter)
        return;
    const LONG newCntr = ::InterlockedDecrement(counter);
    if (newCntr != 0)
        Warn("((newCntr == 0))");
}

volatile LONG* MainScopeInstanceCounter::_GetInstCounter() const {
    return m_pCounter ? m_pCounter->Value() : nullptr;
}

}  // namespace ApplicationFramework
