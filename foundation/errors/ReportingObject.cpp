#include "foundation/errors/ReportingObject.h"

#include "foundation/errors/ClassifiedExceptionsGuard.h"
#include "foundation/errors/FormatErrorCode.h"
#include "foundation/errors/NotificationsDefault.h"
#include "foundation/strings/StringConversions.h"

#include <string>

namespace Reporting {
namespace {

class ModuleGlobalReportingObject : public ReportingObject {
public:
    using ReportingObject::ReportingObject;
};

}  // namespace

bool ReportingObject::ReportWarning(const litestring& checkText, const ErrorHandling::ErrorCode* code) {
    _Report(STLHelpers::Utf8ToWide(checkText), Warning, code);
    return false;
}

bool ReportingObject::ReportAssertion(const litestring& checkText, const ErrorHandling::ErrorCode* code) {
    _Report(STLHelpers::Utf8ToWide(checkText), Assertion, code);
    return false;
}

void ReportingObject::ReportError(const litestring& checkText, const ErrorHandling::ErrorCode* code) {
    ErrorHandling::ClassifiedExceptionsGuard([&]() { _Report(STLHelpers::Utf8ToWide(checkText), Error, code); });
}

int ReportingObject::_Report(const wlitestring& checkText, Severity severity, const ErrorHandling::ErrorCode* code) {
    std::wstring report;
    if (code && code->Value() != 0)
        ErrorHandling::FormatErrorCode(*code, report);
    const bool hasCheckText = !checkText.empty();
    if (hasCheckText && !report.empty())
        report += L' ';
    report.append(checkText.begin(), checkText.end());
    if (m_pSink)
        m_pSink->OnReport(*this, report, severity);
    return 0;
}

ReportingObject::Notifications* ReportingObject::SetNotifications(Notifications* sink) noexcept {
    Notifications* previous = m_pSink;
    m_pSink = sink;
    return previous;
}

// Built on first use, so checks that fail while other modules' globals are
// constructed still find them; s_builtBeforeEntry builds them before main().
ReportingObject& GetModuleReportingObject() {
    static NotificationsDefault s_sink(true);
    static ModuleGlobalReportingObject s_object(&s_sink);
    return s_object;
}

namespace {
const bool s_builtBeforeEntry = (GetModuleReportingObject(), true);
}  // namespace

}  // namespace Reporting
