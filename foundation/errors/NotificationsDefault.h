#pragma once
// The module's default sink: raises ErrorHandling::ErrorException with the
// report text for assertions when the raise flag is set; warnings, errors
// and unraised assertions leave no trace.
#include "foundation/errors/ReportingObject.h"

namespace Reporting {

class NotificationsDefault : public ReportingObject::Notifications {
public:
    explicit NotificationsDefault(bool raise) noexcept : m_raise(raise) {}
    // Throws ErrorException for a raised assertion; else returns the severity.
    int OnReport(ReportingObject& reporter, const wlitestring& text, Severity severity) override;

private:
    bool m_raise;
};

}  // namespace Reporting
