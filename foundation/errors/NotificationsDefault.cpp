#include "foundation/errors/NotificationsDefault.h"

#include "foundation/errors/ErrorException.h"

namespace Reporting {

int NotificationsDefault::OnReport(ReportingObject&, const wlitestring& text, Severity severity) {
    if (severity == Assertion && m_raise) {
        ErrorHandling::ErrorException error;
        error << text;
        throw error;
    }
    return severity;
}

}  // namespace Reporting
