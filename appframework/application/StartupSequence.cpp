// The start-up and exit sequences of the application object: every step in
// a fixed order, each in its own guard, so one failing step never stops the
// steps after it.
#include "appframework/application/ApplicationBaseLite.h"

#include "appframework/serviceclient/Library.h"
#include "foundation/debugging/CrashHandler.h"
#include "foundation/errors/ClassifiedExceptionsGuard.h"
#include "foundation/errors/ReportingObject.h"
#include "foundation/filesystem/ComScope.h"
#include "graphics/gdiplus/GdiplusStartupHolder.h"

#include <afxdisp.h>
#include <commctrl.h>

#include <cstdlib>
#include <ctime>
#include <mutex>

namespace ApplicationFramework {

namespace {

void Warn(const char* checkText, HRESULT hr = E_FAIL) {
    const ErrorHandling::ErrorCode code(hr);
    Reporting::GetModuleReportingObject().ReportWarning(checkText, &code);
}

void ReportStartupError(const char* checkText) {
    const ErrorHandling::ErrorCode code(E_FAIL);
    Reporting::GetModuleReportingObject().ReportError(checkText, &code);
}

// "<name><suffix>", "The application<suffix>" for an empty name.
std::wstring NamedText(const std::wstring& name, const wchar_t* suffix) {
    return (name.empty() ? std::wstring(L"The application") : name) + suffix;
}

std::mutex g_watchdogLock;
int g_watchdogStarts = 0;

DWORD WINAPI WatchdogThread(void* parameter) {
    ::Sleep(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(parameter)));
    ::TerminateProcess(::GetCurrentProcess(), kWatchdogExitCode);
    return 0;
}

}  // namespace

BOOL ApplicationBaseLite::InitInstance() {
    m_pInstanceCounter.reset();
    m_pInstanceCounter.reset(new MainScopeInstanceCounter());
    int code = StartupFailed;
    _Guarded_RunStartup(code);
    if (code == StartupRun)
        return TRUE;
    if (code == StartupQuiet)
        return FALSE;
    m_failureExitCode = kFailedStartExitCode;
    const std::wstring caption = m_productInfo.GetProductName() + L" Fatal error";
    AfxShowMessageBox(nullptr, L"The application has failed to initialize", caption.c_str(),
                      MB_ICONERROR | MB_TOPMOST);
    return FALSE;
}

ErrorHandling::AnyError ApplicationBaseLite::_Guarded_RunStartup(int& code) {
    int result = StartupFailed;
    ErrorHandling::AnyError error = ErrorHandling::ClassifiedExceptionsGuard([&]() { _RunStartup(result); });
    code = error ? StartupFailed : result;
    return error;
}

void ApplicationBaseLite::_RunStartup(int& code) {
    code = StartupFailed;
    if (!AfxOleInit())
        Warn("((AfxOleInit()))");

    m_pszSavedAppName = m_pszAppName;
    m_productAppName = m_productInfo.GetProductName();
    m_pszAppName = m_productAppName.c_str();
    SetRegistryKey(L"");

    ErrorReport::InstallCrashHandler(m_productInfo.GetProductLabel(), m_productInfo.GetProductName());

    ParseCommandLine(m_cmdInfo);
    m_isCommandLineProcessed = true;
    if (_HandleRegistrationCommandLine()) {
        code = StartupQuiet;
        return;
    }

    std::srand(static_cast<unsigned>(std::time(nullptr)));

    // A failed step has shown its own message where it has one; without a
    // main window the message loop ends at once and the exit sequence runs.
    struct Step {
        bool (ApplicationBaseLite::*run)();
        const char* checkText;
    };
    static const Step kInitSteps[] = {
        {&ApplicationBaseLite::_PreInitialize, "((_PreInitialize()))"},
        {&ApplicationBaseLite::Initialize, "((Initialize()))"},
        {&ApplicationBaseLite::_PostInitialize, "((_PostInitialize()))"},
    };
    for (const Step& step : kInitSteps) {
        if (!(this->*step.run)()) {
            ReportStartupError(step.checkText);
            m_failureExitCode = kFailedStartExitCode;
            code = StartupRun;
            return;
        }
    }
    if (!CWinApp::InitInstance()) {
        ReportStartupError("((CWinApp::InitInstance()))");
        m_failureExitCode = kFailedStartExitCode;
        code = StartupRun;
        return;
    }

    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    INITCOMMONCONTROLSEX controls = {8, 0x2FF};
    ::InitCommonControlsEx(&controls);
    AfxEnableControlContainer(nullptr);

    _ShowSplashStep(4);
    m_pGdiplusHolder.reset(new GdiplusStartupHolder());
    _ApplyDefaultSkin();
    _AttachSystemImageListLater();
    _ShowSplashStep(2);

    if (!_CheckUpdateNotRunning()) {
        code = StartupFailed;
        return;
    }

    if (IsSingleInstance() && !_CreateInstanceMutex()) {
        if (!_ActivateRunningInstance()) {
            const std::wstring text = NamedText(m_productInfo.GetProductName(), L" is already running.");
            AfxShowMessageBox(nullptr, text.c_str(), L"Already running", MB_ICONINFORMATION);
        }
        code = StartupQuiet;
        return;
    }

    _ShowSplashStep(3);
    _ShowSplashStep(7);

    if (m_pAtlModule)
        m_pClassObjectRegistration.reset(new ClassObjectRegistration(*m_pAtlModule));

    if (StartApplication()) {
        code = StartupRun;
        return;
    }
    const std::wstring text = NamedText(m_productInfo.GetProductName(), L" has failed to start.");
    AfxShowMessageBox(nullptr, text.c_str(), L"Error", MB_ICONWARNING);
    code = StartupFailed;
}

void ApplicationBaseLite::_AttachSystemImageListLater() {
    m_systemImageListTimer = ::SetTimer(nullptr, 0, 0, &ApplicationBaseLite::_OnSystemImageListTimer);
    if (!m_systemImageListTimer)
        _AttachSystemImageList();
}

void CALLBACK ApplicationBaseLite::_OnSystemImageListTimer(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ApplicationBaseLite* pApp = GetApplication();
    if (pApp && pApp->m_systemImageListTimer == id) {
        pApp->m_systemImageListTimer = 0;
        pApp->_AttachSystemImageList();
    }
}

void ApplicationBaseLite::_AttachSystemImageList() {
    if (m_systemImageList.m_hImageList)
        return;
    const HIMAGELIST systemImages = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"c:\\", 0, &m_fileInfo, sizeof(m_fileInfo), SHGFI_SYSICONINDEX));
    if (systemImages)
        m_systemImageList.Attach(systemImages);
}

bool ApplicationBaseLite::_HandleRegistrationCommandLine() {
    if (!m_pAtlModule)
        return false;
    const int command = m_cmdInfo.m_nShellCommand;
    if (command != CCommandLineInfo::AppRegister && command != CCommandLineInfo::AppUnregister)
        return false;

    volatile LONG* pModel = System::GetDefaultCOMModel();
    DWORD model = pModel ? static_cast<DWORD>(::InterlockedCompareExchange(pModel, 0, 0)) : 0;
    if (model > System::ComScope::Ole)
        model = System::ComScope::Multithreaded;
    System::ComScope scope(model, System::ComScope::AllowFallback);

    HRESULT hr = S_OK;
    if (command == CCommandLineInfo::AppRegister) {
        hr = m_pAtlModule->RegisterServer(TRUE);
        if (SUCCEEDED(hr) && m_pAtlModule->m_pfnExtraRegister)
            hr = m_pAtlModule->m_pfnExtraRegister(*m_pAtlModule);
        if (FAILED(hr))
            Warn("((m_pAtlModule->RegisterServer(1)))", hr);
    } else {
        if (m_pAtlModule->m_pfnExtraUnregister)
            hr = m_pAtlModule->m_pfnExtraUnregister(*m_pAtlModule);
        if (SUCCEEDED(hr))
            hr = m_pAtlModule->UnregisterServer(TRUE);
        if (FAILED(hr))
            Warn("((m_pAtlModule->UnregisterServer(1)))", hr);
    }
    if (FAILED(hr))
        m_failureExitCode = kFailedRegistrationExitCode;
    return true;
}

void ApplicationBaseLite::_BeginShutdownOnClose() {
    _StartWatchdog(kExitWatchdogMs);
    ::ShowWindow(AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : nullptr, SW_MINIMIZE);
    _Guarded_BeginShutdown();
    m_isFirstExitStepDone = true;
}

int ApplicationBaseLite::ExitInstance() {
    _StartWatchdog(kExitWatchdogMs);
    if (m_updateAgent._IsRunning())
        m_updateAgent.StopAndWait();
    if (!m_isFirstExitStepDone)
        _Guarded_BeginShutdown();
    _Guarded_DestroyClassObjectRegistration();
    _Guarded_ShutdownApplication();
    _Guarded_UninitializeCommonDialogs();
    _Guarded_DisableServiceClient();
    _RestoreToolkitState();
    if (m_systemImageListTimer) {
        ::KillTimer(nullptr, m_systemImageListTimer);
        m_systemImageListTimer = 0;
    }
    m_systemImageList.Detach();
    if (m_fileInfo.hIcon) {
        ::DestroyIcon(m_fileInfo.hIcon);
        m_fileInfo.hIcon = nullptr;
    }
    _Guarded_ShutdownGdiplus();
    AfxOleTerm(FALSE);
    // The counter goes only after the toolkit's own exit.
    std::unique_ptr<MainScopeInstanceCounter> pCounter = std::move(m_pInstanceCounter);
    const int result = CWinApp::ExitInstance();
    pCounter.reset();
    return result != 0 ? result : m_failureExitCode;
}

void ApplicationBaseLite::_RestoreToolkitState() {
    if (m_pszAppName == m_productAppName.c_str())
        m_pszAppName = m_pszSavedAppName;
    m_productAppName.clear();
    if (m_pDocManagerProxy && m_pDocManager == m_pDocManagerProxy.get())
        m_pDocManager = m_pToolkitDocManager;
}

ErrorHandling::AnyError ApplicationBaseLite::_Guarded_BeginShutdown() {
    return ErrorHandling::ClassifiedExceptionsGuard([&]() { _BeginShutdown(); });
}

ErrorHandling::AnyError ApplicationBaseLite::_Guarded_DestroyClassObjectRegistration() {
    return ErrorHandling::ClassifiedExceptionsGuard([&]() { m_pClassObjectRegistration.reset(); });
}

ErrorHandling::AnyError ApplicationBaseLite::_Guarded_ShutdownApplication() {
    return ErrorHandling::ClassifiedExceptionsGuard([&]() { ShutdownApplication(); });
}

ErrorHandling::AnyError ApplicationBaseLite::_Guarded_UninitializeCommonDialogs() {
    return ErrorHandling::ClassifiedExceptionsGuard([&]() { _UninitializeCommonDialogs(); });
}

ErrorHandling::AnyError ApplicationBaseLite::_Guarded_DisableServiceClient() {
    return ErrorHandling::ClassifiedExceptionsGuard([&]() {
        if (GenericServiceClient::Library* pLibrary = GenericServiceClient::GetLibrary())
            pLibrary->Disable();
    });
}

ErrorHandling::AnyError ApplicationBaseLite::_Guarded_ShutdownGdiplus() {
    return ErrorHandling::ClassifiedExceptionsGuard([&]() { m_pGdiplusHolder.reset(); });
}

void ApplicationBaseLite::_StartWatchdog(DWORD ms) {
    std::lock_guard<std::mutex> lock(g_watchdogLock);
    if (g_watchdogStarts != 0)
        return;
    const HANDLE thread = ::CreateThread(nullptr, 0x10000, &WatchdogThread,
                                         reinterpret_cast<void*>(static_cast<UINT_PTR>(ms)),
                                         STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread)
        return;
    ::CloseHandle(thread);
    ++g_watchdogStarts;
}

int ApplicationBaseLite::GetWatchdogStartCount() {
    std::lock_guard<std::mutex> lock(g_watchdogLock);
    return g_watchdogStarts;
}

}  // namespace ApplicationFramework
