#pragma once
// A sink that records every report and can throw, and the scope that installs
// a sink on the module's reporter for one test.
#include "foundation/errors/ReportingObject.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace FoundationTests {

struct Report {
    std::wstring text;
    Reporting::Severity severity;
};

class RecordingSink : public Reporting::ReportingObject::Notifications {
public:
    explicit RecordingSink(bool throwRuntimeError = false) : m_throw(throwRuntimeError) {}

    int OnReport(Reporting::ReportingObject&, const wlitestring& text, Reporting::Severity severity) override {
        reports.push_back({text.str(), severity});
        if (m_throw)
            throw std::runtime_error("sink failed");
        return severity;
    }

    std::vector<Report> reports;

private:
    bool m_throw;
};

class ScopedSink {
public:
    explicit ScopedSink(Reporting::ReportingObject::Notifications* sink)
        : m_previous(Reporting::GetModuleReportingObject().SetNotifications(sink)) {}
    ~ScopedSink() { Reporting::GetModuleReportingObject().SetNotifications(m_previous); }

private:
    Reporting::ReportingObject::Notifications* m_previous;
};

}  // namespace FoundationTests
