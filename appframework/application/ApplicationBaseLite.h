#pragma once
// ApplicationBaseLite: the application object between the toolkit's CWinApp
// and the program's own application class. It holds the product information,
// keeps the program to one instance (the mutexes and the hand-over to a
// running instance), applies the default skin, shows splash texts and tells
// the user about a damaged installation. Each step is a virtual operation
// the program may replace.
//
// Thread: the GUI thread; GetApplication answers on any thread.
#include "appframework/application/ClassObjectRegistration.h"
#include "appframework/application/DocManagerProxy.h"
#include "appframework/application/MainScopeInstanceCounter.h"
#include "appframework/application/SplashScreen.h"
#include "appframework/application/UpdateAgent.h"
#include "appframework/product/ProductInfo.h"
#include "foundation/errors/ErrorException.h"

#include <afxcmn.h>
#include <atlexemodule.h>
#include <shellapi.h>

#include <memory>
#include <string>

class GdiplusStartupHolder;

namespace ApplicationFramework {

// What _ReportDamagedInstallation tells the user.
enum DamageKind {
    ResourcesDamaged = 0,     // start-up ends
    InstallationDamaged = 1,  // the process ends with exit code 255
};

// The message a second instance sends to the running one; 16 means handled.
const UINT kActivateInstanceMessage = 0xA011;
const LRESULT kActivateInstanceAnswer = 16;

// Results of the start-up body.
enum StartupCode {
    StartupRun = 0,     // the message loop runs
    StartupQuiet = 1,   // ends without a message
    StartupFailed = 2,  // ends with "The application has failed to initialize"
};

// Process exit codes of a start that did not run: whoever started the
// program (an installer, the Updater's restart) must not read success.
const int kFailedStartExitCode = 2;
const int kFailedRegistrationExitCode = 3;

// How long an exit may take before the watchdog ends the process, and the
// exit code it ends it with.
const DWORD kExitWatchdogMs = 15000;
const UINT kWatchdogExitCode = 0xFFFFFFFF;

class ApplicationBaseLite : public CWinApp {
public:
    ApplicationBaseLite(ProductInfo& productInfo, CAtlExeModule* pAtlModule);
    ~ApplicationBaseLite() override;

    // The application object while one exists, else null.
    static ApplicationBaseLite* GetApplication();

    ProductInfo& GetProductInfo() const { return m_productInfo; }

    // The start-up sequence, each step guarded: TRUE when the program runs.
    BOOL InitInstance() override;
    // The exit sequence, each step guarded; the toolkit's exit code, or the
    // failed start's or registration's when the toolkit's is 0.
    int ExitInstance() override;

    // The application's string for the id when it has a non-empty one, else
    // the default. A failure of the getter is a warning and gives the default.
    std::wstring GetResourceString(int strId, const std::wstring& defaultText);

    virtual bool _ApplyDefaultSkin();
    virtual bool IsSingleInstance();
    // True when this is the only instance.
    virtual bool _CreateInstanceMutex();
    // True when a running instance took over.
    virtual bool _ActivateRunningInstance();
    // False while an update of the product runs.
    virtual bool _CheckUpdateNotRunning();
    virtual bool Initialize() = 0;
    virtual bool StartApplication() = 0;
    virtual void _BeginShutdown() {}
    virtual void ShutdownApplication() {}
    // True when the command line asked to register or unregister the COM
    // server, whatever the outcome; false without a module.
    virtual bool _HandleRegistrationCommandLine();
    // The empty text for every id.
    virtual void GetApplicationString(std::wstring& text, int id) { text.clear(); }
    virtual bool _PreInitialize() { return true; }
    virtual bool _PostInitialize() { return true; }
    virtual void _UninitializeCommonDialogs() {}

    // The skin file and its "Default.INI" into the toolkit's skin manager;
    // false (and a trace line) when that fails or raises.
    bool _ApplySkinImpl(const std::wstring& skinFile);

    void _ShowSplashStep(int stepId);
    void _SetSplashText(const std::wstring& text);
    void SetSplashScreen(std::unique_ptr<SplashScreen> pSplashScreen);
    SplashScreen* GetSplashScreen() const { return m_pSplashScreen.get(); }

    // An empty text takes the application's string 8 or 9, else the default
    // text of the kind. InstallationDamaged does not return.
    void _ReportDamagedInstallation(DamageKind kind, const std::wstring& text);
    // Every "{0}" becomes the product name; captioned with the product name.
    void _ShowDamageMessage(const std::wstring& text);

    // The toolkit's AddDocTemplate; the first call also puts a
    // DocManagerProxy in place of the toolkit's document manager.
    void AddDocTemplate(CDocTemplate* pTemplate);
    DocManagerProxy* GetDocManagerProxy() const { return m_pDocManagerProxy.get(); }

    // Runs when the documents are about to close on the main window's
    // closing: starts the exit watchdog, minimises the main window and runs
    // the guarded _BeginShutdown, which ExitInstance then does not repeat.
    virtual void _BeginShutdownOnClose();

    // At most once per process: a thread that ends the process with
    // kWatchdogExitCode after `ms` milliseconds.
    static void _StartWatchdog(DWORD ms);
    // How many watchdog threads this process started (0 or 1).
    static int GetWatchdogStartCount();

    // The guarded steps: each returns the error its step raised, or an empty
    // error; exceptions of other kinds pass.
    ErrorHandling::AnyError _Guarded_RunStartup(int& code);
    ErrorHandling::AnyError _Guarded_BeginShutdown();
    ErrorHandling::AnyError _Guarded_DestroyClassObjectRegistration();
    ErrorHandling::AnyError _Guarded_ShutdownApplication();
    ErrorHandling::AnyError _Guarded_UninitializeCommonDialogs();
    ErrorHandling::AnyError _Guarded_DisableServiceClient();
    ErrorHandling::AnyError _Guarded_ShutdownGdiplus();

    const CCommandLineInfo& GetCommandLineInfo() const { return m_cmdInfo; }
    bool IsCommandLineProcessed() const { return m_isCommandLineProcessed; }
    ClassObjectRegistration* GetClassObjectRegistration() const { return m_pClassObjectRegistration.get(); }
    UpdateAgent& GetUpdateAgent() { return m_updateAgent; }

protected:
    // The toolkit's application name before the product name replaced it,
    // and the product name's copy that replaces it during the run.
    LPCWSTR m_pszSavedAppName = nullptr;
    std::wstring m_productAppName;
    ProductInfo& m_productInfo;
    UpdateAgent m_updateAgent;
    CCommandLineInfo m_cmdInfo;
    bool m_isCommandLineProcessed = false;
    std::unique_ptr<GdiplusStartupHolder> m_pGdiplusHolder;
    // The system image list, attached once the start-up's first paint is
    // done (see _AttachSystemImageListLater), detached at exit.
    SHFILEINFOW m_fileInfo{};
    CImageList m_systemImageList;
    UINT_PTR m_systemImageListTimer = 0;
    std::unique_ptr<SplashScreen> m_pSplashScreen;
    CAtlExeModule* m_pAtlModule;
    std::unique_ptr<ClassObjectRegistration> m_pClassObjectRegistration;
    // The toolkit's document manager, kept aside while the proxy stands in
    // for it, and put back at exit so the toolkit deletes its own.
    CDocManager* m_pToolkitDocManager = nullptr;
    std::unique_ptr<DocManagerProxy> m_pDocManagerProxy;
    std::unique_ptr<MainScopeInstanceCounter> m_pInstanceCounter;
    bool m_isFirstExitStepDone = false;
    // Non-zero once a start failed or a registration request failed: the
    // exit code when the toolkit's own is 0.
    int m_failureExitCode = 0;

private:
    // The start-up body: a StartupCode.
    void _RunStartup(int& code);
    void _RestoreToolkitState();
    // The shell builds its system image list from dozens of icons, and no
    // start-up step before the window is shown uses it: a thread timer
    // attaches it, and timers come after every pending paint.
    void _AttachSystemImageListLater();
    void _AttachSystemImageList();
    static void CALLBACK _OnSystemImageListTimer(HWND, UINT, UINT_PTR id, DWORD);
};

// The default folder of downloaded videos: "<My Videos or Common Videos>\<name>",
// else "<My Documents or Common Documents>\<name> Videos", else the same
// beside the program; the first of those shell folders that exists or can be
// made counts. <name> is the application's name. Nothing is created below it.
std::wstring GetDefaultVideosFolder();

}  // namespace ApplicationFramework
