#include "appframework/serviceclient/GenericServicePtr.h"

#include "appframework/serviceclient/ServiceActivation.h"
#include "foundation/debugging/Log.h"
#include "foundation/errors/Checks.h"
#include "foundation/errors/FormatErrorCode.h"
#include "foundation/errors/GuiHandlerGuard.h"
#include "foundation/filesystem/File.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/strings/StringFormat.h"

#include <comdef.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

namespace GenericServiceClient {
namespace {

// How long the registration run of the service may take before the second
// activation is tried regardless.
const DWORD kRecoveryWaitMs = 3000;
// Bit 0: a thread already in another model falls back to the other models.
const DWORD kComScopeFlags = 3;

}  // namespace

DWORD GetServiceComModel() {
    volatile LONG* pModel = System::GetDefaultCOMModel();
    const DWORD model = pModel ? static_cast<DWORD>(InterlockedCompareExchange(pModel, 0, 0)) : 0;
    return model > System::ComScope::Ole ? System::ComScope::Multithreaded : model;
}

std::wstring GetServiceExecutablePath() {
    return FileSystem::GetSpecialFolder(CSIDL_SYSTEMX86).GetFile(L"Vantrel.exe").GetPath();
}

// Every log line comes from here, tagged with this constructor's name.
GenericServicePtr::GenericServicePtr(HRESULT& result)
    : m_comScope(GetServiceComModel(), kComScopeFlags) {
    HRESULT hr = _Activate();
    result = hr;
    if (SUCCEEDED(hr))
        return;

    std::wstring error;
    ErrorHandling::FormatErrorCode(hr, error);
    DEBUG_LOG(Debugging::LevelERR, STLHelpers::FormatString1(L"Vantrel initialization failed with error {0}", error));
    // Only a missing registration can be repaired.
    if (hr != REGDB_E_CLASSNOTREG)
        CHECK_ASSERT_HR(hr);

    // The service's registration run ("/Service", hidden), waited for a
    // bounded time; the second attempt follows whatever happened.
    const FileSystem::File service(GetServiceExecutablePath());
    if (!service.Exists()) {
        DEBUG_LOG(Debugging::LevelERR, STLHelpers::FormatString1(
                                           L"Vantrel was not found at {0}. No chance to recover it!", service.GetPath()));
        CHECK_ASSERT_HR(hr);
    }
    {
        const System::Process process = service.ShellExecuteProcess(L"/Service", SW_HIDE);
        if (!process.HasHandle())
            DEBUG_LOG(Debugging::LevelERR, L"Vantrel recovering failed");
        else if (!process.Wait(kRecoveryWaitMs))
            DEBUG_LOG(Debugging::LevelERR, L"Vantrel registration recovery duration exceeded sane limit...");
    }

    m_pgc.Release();
    hr = _Activate();
    result = hr;
    if (FAILED(hr)) {
        const ErrorHandling::ErrorCode code(hr);
        Reporting::GetModuleReportingObject().ReportAssertion(
            "((hr = m_pgc.CreateInstance(__uuidof(GarbageCollector))))", &code);
        return;
    }
    std::wstring line;
    DEBUG_LOG(Debugging::LevelINF, STLHelpers::FormatWithNumber(
                                       line, L"Vantrel second initialization attempt succeeded with code {0}",
                                       static_cast<std::uint32_t>(hr)));
}

GenericServicePtr::~GenericServicePtr() {
    // Whatever the release raises is classified and dropped: the call's result stands.
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("GenericServiceClient::GenericServicePtr::~GenericServicePtr"),
                                 [&] { m_pgc.Release(); });
}

IGarbageCollector* GenericServicePtr::operator->() const {
    if (!m_pgc)
        _com_issue_error(E_POINTER);
    return m_pgc;
}

HRESULT GenericServicePtr::_Activate() {
    return ActivateServiceClass(CLSID_GarbageCollector, &m_pgc.p);
}

}  // namespace GenericServiceClient
