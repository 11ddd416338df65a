#pragma once
// The receiver of failed checks. A failed check hands its check text
// ("((expr))", UTF-8) and its code to the module's reporter, which builds one
// report text and passes it with a severity to its sink:
//   "Code 0x80004005: <system text> ((m_pSettings))"
// Use the macros of Checks.h rather than calling this directly.
//
// Threads: reports may come from any thread; the reporter keeps no mutable
// state after start-up, so no lock is taken and a sink may run concurrently.
#include "foundation/errors/ErrorCode.h"
#include "foundation/strings/LiteString.h"

namespace Reporting {

enum Severity { Warning = 0, Assertion = 1, Error = 2 };

class ReportingObject {
public:
    // The sink interface: decides what a report does.
    class Notifications {
    public:
        virtual ~Notifications() = default;
        virtual void _Reserved() {}
        // The reporter ignores the result.
        virtual int OnReport(ReportingObject& reporter, const wlitestring& text, Severity severity) = 0;
    };

    // A null sink builds reports and drops them.
    explicit ReportingObject(Notifications* sink = nullptr) noexcept : m_pSink(sink) {}
    virtual ~ReportingObject() = default;

    // Report with severity Warning / Assertion; false when they return at all.
    // Every exception of the sink passes.
    bool ReportWarning(const litestring& checkText, const ErrorHandling::ErrorCode* code);
    bool ReportAssertion(const litestring& checkText, const ErrorHandling::ErrorCode* code);
    // Report with severity Error. Exceptions of the four classified kinds
    // (see ClassifiedExceptionsGuard.h) are swallowed, so an error check
    // never throws those from its report.
    void ReportError(const litestring& checkText, const ErrorHandling::ErrorCode* code);

    // Builds "<code description> <check text>" (either part may be absent)
    // and calls the sink. Returns 0.
    int _Report(const wlitestring& checkText, Severity severity, const ErrorHandling::ErrorCode* code);

    Notifications* GetNotifications() const noexcept { return m_pSink; }
    // Tests only: the program binds the module's sink once, before its entry.
    Notifications* SetNotifications(Notifications* sink) noexcept;

private:
    Notifications* m_pSink;
};

// The module's reporter, never null; its sink is the raising default sink.
ReportingObject& GetModuleReportingObject();

}  // namespace Reporting
