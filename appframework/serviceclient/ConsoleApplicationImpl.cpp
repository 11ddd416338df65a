#include "appframework/serviceclient/ConsoleApplicationImpl.h"

#include "appframework/serviceclient/ServiceActivation.h"
#include "appframework/serviceclient/ServiceComProxy.h"
#include "foundation/errors/GuiHandlerGuard.h"
#include "foundation/strings/OwnedWString.h"

#include <atlcomcli.h>
#include <comdef.h>

namespace GenericServiceClient {
namespace {

// Calls through a missing object fail as a null COM pointer does.
IConsoleApp* Require(IConsoleApp* pConsoleApp) {
    if (!pConsoleApp)
        _com_issue_error(E_POINTER);
    return pConsoleApp;
}

}  // namespace

ConsoleApplicationImpl::ConsoleApplicationImpl(std::wstring applicationPath) : path(std::move(applicationPath)) {}

ConsoleApplicationImpl::~ConsoleApplicationImpl() {
    // Only an Impl whose destroy sequence never ran can still hold the object.
    if (IConsoleApp* pLeft = pApp.exchange(nullptr))
        pLeft->Release();
}

std::wstring ConsoleApplicationImpl::GetPath() {
    return path;
}

void ConsoleApplicationImpl::SetPath(const wlitestring& newPath) {
    path = STLHelpers::WStringFromRef(newPath);
}

std::wstring ConsoleApplicationImpl::GetParameters() {
    return parameters;
}

void ConsoleApplicationImpl::SetParameters(const wlitestring& newParameters) {
    parameters = STLHelpers::WStringFromRef(newParameters);
}

template <class Result, class Step>
Result ConsoleApplicationImpl::_RunTask(Result failureValue, Step step) {
    auto task = ServiceComProxy::MakeTask(failureValue, std::move(step));
    ServiceComProxy::Instance()._ExecuteOnWorkerThread(task);
    return task->GetResult();
}

template <class Call>
bool ConsoleApplicationImpl::_CallService(const char* traceFormat, Call call) {
    IConsoleApp* pConsoleApp = pApp.load();
    if (!pConsoleApp)
        return false;
    return ErrorHandling::RunGuiHandler(traceFormat, [&] { RaiseOnServiceFailure(call(pConsoleApp), pConsoleApp); });
}

void ConsoleApplicationImpl::Initialize() {
    ServiceComProxy& proxy = ServiceComProxy::Instance();
    if (!proxy.InsertPending(this)) {
        const ErrorHandling::ErrorCode code(E_FAIL);
        Reporting::GetModuleReportingObject().ReportWarning("((m_applicationsPending.insert(&*pConsoleApp)))", &code);
    }
    const boost::shared_ptr<ConsoleApplicationImpl> self = shared_from_this();
    _RunTask(false, [self] { return self->InitImpl(); });
}

bool ConsoleApplicationImpl::InitImpl() {
    return ErrorHandling::RunGuiHandler(
        GUI_HANDLER_TRACE_FORMAT("GenericServiceClient::ConsoleApplicationImpl::InitImpl"), [&] {
            // An initialisation that runs late, after the destroy sequence,
            // must not leave an object nobody releases.
            if (destroyed.load())
                _com_issue_error(E_ABORT);
            if (!pApp.load()) {
                IConsoleApp* pCreated = nullptr;
                const HRESULT hr = ActivateServiceClass(CLSID_ConsoleApp, &pCreated);
                if (FAILED(hr)) {
                    const ErrorHandling::ErrorCode code(hr);
                    Reporting::GetModuleReportingObject().ReportAssertion(
                        "((pApp.CreateInstance(__uuidof(ConsoleApp))))", &code);
                }
                IConsoleApp* pExpected = nullptr;
                if (pCreated && !pApp.compare_exchange_strong(pExpected, pCreated))
                    pCreated->Release();
            }
            IConsoleApp* pConsoleApp = Require(pApp.load());
            RaiseOnServiceFailure(pConsoleApp->SetPath(ToServiceBstr(path)), pConsoleApp);
        });
}

bool ConsoleApplicationImpl::Start(bool flag) {
    if (flag)
        return false;
    const boost::shared_ptr<ConsoleApplicationImpl> self = shared_from_this();
    const std::wstring parameterCopy = parameters;
    return _RunTask(false, [self, parameterCopy] { return self->StartImpl(parameterCopy); });
}

bool ConsoleApplicationImpl::StartImpl(const std::wstring& parameterCopy) {
    bool isStarted = false;
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("GenericServiceClient::ConsoleApplicationImpl::StartImpl"),
                                 [&] {
                                     IConsoleApp* pConsoleApp = Require(pApp.load());
                                     RaiseOnServiceFailure(pConsoleApp->SetParameters(ToServiceBstr(parameterCopy)), pConsoleApp);
                                     isStarted = SUCCEEDED(pConsoleApp->Start());
                                     started.store(isStarted);
                                 });
    return isStarted;
}

bool ConsoleApplicationImpl::Query6() {
    return false;
}

bool ConsoleApplicationImpl::SendValue14(std::int32_t value) {
    const boost::shared_ptr<ConsoleApplicationImpl> self = shared_from_this();
    return _RunTask(false, [self, value] {
        return self->_CallService(GUI_HANDLER_TRACE_FORMAT("GenericServiceClient::ConsoleApplicationImpl::SendValue14"),
                                  [value](IConsoleApp* pConsoleApp) { return pConsoleApp->SendValue14(value); });
    });
}

bool ConsoleApplicationImpl::SendValue15(std::int32_t value) {
    const boost::shared_ptr<ConsoleApplicationImpl> self = shared_from_this();
    return _RunTask(false, [self, value] {
        return self->_CallService(GUI_HANDLER_TRACE_FORMAT("GenericServiceClient::ConsoleApplicationImpl::SendValue15"),
                                  [value](IConsoleApp* pConsoleApp) { return pConsoleApp->SendValue15(value); });
    });
}

void ConsoleApplicationImpl::Signal16() {
    const boost::shared_ptr<ConsoleApplicationImpl> self = shared_from_this();
    _RunTask(false, [self] {
        return self->_CallService(GUI_HANDLER_TRACE_FORMAT("GenericServiceClient::ConsoleApplicationImpl::Signal16"),
                                  [](IConsoleApp* pConsoleApp) { return pConsoleApp->Signal16(); });
    });
}

std::int32_t ConsoleApplicationImpl::GetNumber() {
    const boost::shared_ptr<ConsoleApplicationImpl> self = shared_from_this();
    // -1 also when the task never ran: 0 would read as a real answer.
    return _RunTask(std::int32_t(-1), [self] {
        LONG number = 0;
        const bool answered =
            self->_CallService(GUI_HANDLER_TRACE_FORMAT("GenericServiceClient::ConsoleApplicationImpl::GetNumber"),
                               [&number](IConsoleApp* pConsoleApp) { return pConsoleApp->GetNumber(&number); });
        return answered ? static_cast<std::int32_t>(number) : std::int32_t(-1);
    });
}

bool ConsoleApplicationImpl::GetFlag() {
    const boost::shared_ptr<ConsoleApplicationImpl> self = shared_from_this();
    return _RunTask(false, [self] {
        VARIANT_BOOL flag = VARIANT_FALSE;
        const bool answered =
            self->_CallService(GUI_HANDLER_TRACE_FORMAT("GenericServiceClient::ConsoleApplicationImpl::GetFlag"),
                               [&flag](IConsoleApp* pConsoleApp) { return pConsoleApp->GetFlag(&flag); });
        return answered && flag != VARIANT_FALSE;
    });
}

void ConsoleApplicationImpl::Destroy() noexcept {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("GenericServiceClient::ConsoleApplicationImpl::Destroy"), [&] {
        if (!ServiceComProxy::Instance().ErasePending(this)) {
            const ErrorHandling::ErrorCode code(E_FAIL);
            Reporting::GetModuleReportingObject().ReportWarning("((m_applicationsPending.erase(&*pConsoleApp)))",
                                                                &code);
        }
        const boost::shared_ptr<ConsoleApplicationImpl> self = shared_from_this();
        _RunTask(false, [self] { return self->DestroyImpl(); });
    });
    // Releases the object only when the task did not get to it.
    DestroyImpl();
    destroyed.store(true);
}

bool ConsoleApplicationImpl::DestroyImpl() {
    return ErrorHandling::RunGuiHandler(
        GUI_HANDLER_TRACE_FORMAT("GenericServiceClient::ConsoleApplicationImpl::DestroyImpl"), [&] {
            if (IConsoleApp* pTaken = pApp.exchange(nullptr))
                pTaken->Release();
        });
}

}  // namespace GenericServiceClient
