#pragma once
// ApplicationBaseLite: the application object between the toolkit's CWinApp
// and the program's own application class. It holds the product information,
// keeps the program to one instance (the mutexes and the hand-over to a
// running instance), applies the default skin, shows splash texts and tells
// the user about a damaged installation. Each step is a virtual operation
// the program may replace.
//
// Thread: the GUI thread; GetApplication answers on any thread.
#include "appframework/application/SplashScreen.h"
#include "appframework/product/ProductInfo.h"

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

class ApplicationBaseLite : public CWinApp {
public:
    ApplicationBaseLite(ProductInfo& productInfo, CAtlExeModule* pAtlModule);
    ~ApplicationBaseLite() override;

    // The application object while one exists, else null.
    static ApplicationBaseLite* GetApplication();

    ProductInfo& GetProductInfo() const { return m_productInfo; }

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
    virtual bool _HandleRegistrationCommandLine() { return false; }
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

    // Runs when the documents are about to close on the main window's
    // closing; the exit sequence fills it in.
    virtual void _BeginShutdownOnClose() {}

protected:
    // The toolkit's application name before the product name replaced it,
    // and the product name's copy that replaces it during the run.
    LPCWSTR m_pszSavedAppName = nullptr;
    std::wstring m_productAppName;
    ProductInfo& m_productInfo;
    CCommandLineInfo m_cmdInfo;
    bool m_isCommandLineProcessed = false;
    std::unique_ptr<GdiplusStartupHolder> m_pGdiplusHolder;
    // The system image list, attached at start-up, detached at exit.
    SHFILEINFOW m_fileInfo{};
    CImageList m_systemImageList;
    std::unique_ptr<SplashScreen> m_pSplashScreen;
    CAtlExeModule* m_pAtlModule;
    bool m_isFirstExitStepDone = false;
};

// The default folder of downloaded videos: "<My Videos or Common Videos>\<name>",
// else "<My Documents or Common Documents>\<name> Videos", else the same
// beside the program; the first of those shell folders that exists or can be
// made counts. <name> is the application's name. Nothing is created below it.
std::wstring GetDefaultVideosFolder();

}  // namespace ApplicationFramework
