#include "appframework/serviceclient/Library.h"

#include "appframework/serviceclient/ConsoleApplicationProxy.h"
#include "appframework/serviceclient/GenericServicePtr.h"
#include "appframework/serviceclient/ServiceActivation.h"
#include "appframework/serviceclient/ServiceComProxy.h"
#include "foundation/errors/GuiHandlerGuard.h"
#include "foundation/errors/ReportingObject.h"
#include "foundation/strings/OwnedWString.h"

#include <atlcomcli.h>
#include <comdef.h>

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

#include <cstdlib>

namespace GenericServiceClient {
namespace {

// "Empty" as the service sees it: no text, or a text that starts with its end.
bool IsEmptyArgument(const wlitestring& argument) {
    return !argument.data() || argument.empty() || argument[0] == L'\0';
}

// The error-level check of one argument; false when it is empty.
bool CheckArgument(const wlitestring& argument, const char* checkText) {
    if (!IsEmptyArgument(argument))
        return true;
    const ErrorHandling::ErrorCode code(E_FAIL);
    Reporting::GetModuleReportingObject().ReportError(checkText, &code);
    return false;
}


// One connection, one call; true when the call's HRESULT is a success code.
// Whatever is raised on the way (a failed activation check, a COM error)
// gives false.
template <class Call>
bool CallService(Call&& call) noexcept {
    try {
        HRESULT hr = E_OUTOFMEMORY;
        GenericServicePtr service(hr);
        hr = call(service);
        return SUCCEEDED(hr);
    } catch (...) {
        return false;
    }
}

}  // namespace

void Library::Disable() noexcept {
    disabled.store(true);
    // Asking for the proxy would build it and start a thread just to stop it.
    if (ServiceComProxy::IsBuilt())
        ServiceComProxy::Instance().Stop(INFINITE);
}

bool Library::CreateFolder(const wlitestring& path) {
    if (!IsLibraryEnabled() || !CheckArgument(path, "((!path.empty()))"))
        return false;
    const std::wstring ownedPath = STLHelpers::WStringFromRef(path);
    return CallService([&](GenericServicePtr& service) {
        return RaiseOnServiceFailure(service->CreateFolder(ToServiceBstr(ownedPath)), service.Get());
    });
}

bool Library::DeleteFile(const wlitestring& path) {
    if (!IsLibraryEnabled() || !CheckArgument(path, "((!path.empty()))"))
        return false;
    const std::wstring ownedPath = STLHelpers::WStringFromRef(path);
    // A file the service cannot delete is an answer, not an error.
    return CallService([&](GenericServicePtr& service) {
        return service->DeleteFileItem(ToServiceBstr(ownedPath), std::rand());
    });
}

bool Library::PathOperation11(const wlitestring& path) {
    if (!IsLibraryEnabled() || !CheckArgument(path, "((!path.empty()))"))
        return false;
    const std::wstring ownedPath = STLHelpers::WStringFromRef(path);
    return CallService([&](GenericServicePtr& service) {
        return RaiseOnServiceFailure(service->PathOperation11(ToServiceBstr(ownedPath)), service.Get());
    });
}

bool Library::PathExists(const wlitestring& path) {
    if (!IsLibraryEnabled() || !CheckArgument(path, "((!path.empty()))"))
        return false;
    const std::wstring ownedPath = STLHelpers::WStringFromRef(path);
    return CallService([&](GenericServicePtr& service) {
        return RaiseOnServiceFailure(service->PathExists(ToServiceBstr(ownedPath), std::rand()), service.Get());
    });
}

bool Library::MoveFile(const wlitestring& from, const wlitestring& to) {
    if (!IsLibraryEnabled() || !CheckArgument(from, "((!from.empty()))") || !CheckArgument(to, "((!to.empty()))"))
        return false;
    const std::wstring ownedFrom = STLHelpers::WStringFromRef(from);
    const std::wstring ownedTo = STLHelpers::WStringFromRef(to);
    return CallService([&](GenericServicePtr& service) {
        return RaiseOnServiceFailure(
            service->MoveFileItem(ToServiceBstr(ownedFrom), ToServiceBstr(ownedTo), std::rand()), service.Get());
    });
}

std::wstring Library::ReadRegistryValue(const wlitestring& key, const wlitestring& valueName) {
    if (!IsLibraryEnabled() || !CheckArgument(key, "((!key.empty()))"))
        return std::wstring();
    const std::wstring ownedKey = STLHelpers::WStringFromRef(key);
    const std::wstring ownedName = STLHelpers::WStringFromRef(valueName);
    CComBSTR value;
    const bool answered = CallService([&](GenericServicePtr& service) {
        // The service's string is taken over, not copied.
        BSTR raw = nullptr;
        const HRESULT hr = service->ReadRegistryValue(ToServiceBstr(ownedKey), ToServiceBstr(ownedName), &raw);
        value.Attach(raw);
        return RaiseOnServiceFailure(hr, service.Get());
    });
    if (!answered || !value)
        return std::wstring();
    return std::wstring(value.m_str, value.Length());
}

boost::shared_ptr<IConsoleApplication> Library::CreateConsoleApplication(const wlitestring& path) {
    if (!IsLibraryEnabled() || !CheckArgument(path, "((!path.empty()))"))
        return boost::shared_ptr<IConsoleApplication>();
    const auto pImpl = boost::make_shared<ConsoleApplicationImpl>(STLHelpers::WStringFromRef(path));
    const auto pProxy = boost::make_shared<ConsoleApplicationProxy>(pImpl);
    // A failed or stuck initialisation has been reported; the application
    // answers with its failure values from now on.
    ErrorHandling::RunGuiHandler(
        GUI_HANDLER_TRACE_FORMAT("GenericServiceClient::Library::CreateConsoleApplication"), [&] { pImpl->Initialize(); });
    return pProxy;
}

namespace {

// The process's Library: owned by a shared pointer from static
// initialisation until the exit handler; callers use the plain pointer.
boost::shared_ptr<Library>* g_pOwner = nullptr;
Library* g_pLibrary = nullptr;
bool g_isReleased = false;

void ReleaseLibrary() {
    g_pLibrary = nullptr;
    g_isReleased = true;
    delete g_pOwner;
    g_pOwner = nullptr;
}

// Static initialisation runs on one thread; whichever initialiser asks
// first builds the Library.
Library* BuildLibrary() {
    if (!g_pOwner && !g_isReleased) {
        g_pOwner = new boost::shared_ptr<Library>(boost::make_shared<Library>());
        g_pLibrary = g_pOwner->get();
        std::atexit(&ReleaseLibrary);
    }
    return g_pLibrary;
}

struct BuiltAtStart {
    BuiltAtStart() { BuildLibrary(); }
} g_builtAtStart;

}  // namespace

Library* GetLibrary() {
    return g_pLibrary ? g_pLibrary : (g_isReleased ? nullptr : BuildLibrary());
}

}  // namespace GenericServiceClient
