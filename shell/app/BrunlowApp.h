#pragma once
// CBrunlowApp: the program's one application object. The framework's
// application base runs start-up and exit; this class fills its steps: it
// owns the settings, the skin document, the capture engine and the tips
// updater, starts the engine and the two background workers, and tears them
// down in a fixed order. It also fills the download list's accessor layer
// while it lives, so that the list reaches them without linking the shell.
//
//   Settings* pSettings = CBrunlowApp::GetSettings();        // raises when absent
//   auto pEngine = theApp.GetKavennaEngine();
//
// Thread: the GUI thread.
#include "appframework/application/ApplicationBase.h"
#include "downloads/app/AppAccess.h"
#include "engine/KavennaEngine.h"
#include "foundation/filesystem/Folder.h"
#include "foundation/filesystem/XmlFile.h"
#include "foundation/strings/LiteString.h"

#include <boost/shared_ptr.hpp>

#include <memory>
#include <string>

class CWnd;
class CRuntimeClass;
class Settings;
namespace Tips {
class TipsUpdater;
}

class CBrunlowApp : public ApplicationFramework::ApplicationBase, public Brunlow::IAppAccess {
public:
    // Keeps a reference to the process's product information.
    explicit CBrunlowApp(ApplicationFramework::ProductInfo& productInfo);
    ~CBrunlowApp() override;
    CBrunlowApp(const CBrunlowApp&) = delete;
    CBrunlowApp& operator=(const CBrunlowApp&) = delete;

    // The application object alive now; null outside its lifetime.
    static CBrunlowApp* GetApp();

    // "((m_pSettings))" / "((m_pSkinManager))" at assertion severity when
    // empty; null should the report return.
    static Settings* GetSettings();
    static FileSystem::XmlFile* GetSkinManager();
    // Asks the bound engine library for the engine once and keeps it;
    // "((m_pKavennaEngine))" at assertion severity when there is none (no
    // library, or the library gave nothing).
    boost::shared_ptr<KavennaEngine::IEngine> GetKavennaEngine();

    Settings* AccessSettings() override { return GetSettings(); }
    FileSystem::XmlFile* AccessSkinManager() override { return GetSkinManager(); }
    boost::shared_ptr<KavennaEngine::IEngine> AccessKavennaEngine() override { return GetKavennaEngine(); }

    // The framework's steps.
    bool Initialize() override;
    bool StartApplication() override;
    // Stops the engine (guarded); the framework runs it at most once.
    void _BeginShutdown() override;
    void ShutdownApplication() override;
    // Empty for every step: the splash text never changes.
    void GetApplicationString(std::wstring& text, int id) override { text.clear(); }
    // "Resources\Main" of the program folder.
    void GetResourcesFolder(std::wstring& folder) override;
    void GetConfiguredLanguageName(std::wstring& name) override;
    // String 129 of the program's string table.
    void GetConfiguredSkinName(std::wstring& name) override;
    // The current language's and skin's names; empty until the resources are ready.
    void GetCommonDialogsTextA(std::wstring& text) override { GetCurrentLanguageName(text); }
    void GetCommonDialogsTextB(std::wstring& text) override { GetCurrentSkinName(text); }
    void GetCurrentLanguageName(std::wstring& name);
    void GetCurrentSkinName(std::wstring& name);
    bool InitializeResources(const std::wstring& folder) override;
    void ShutdownResources() override;
    void RegisterResourceObserver() override;
    void UnregisterResourceObserver() override;
    bool SetResourcesLanguage(const std::wstring& name) override;
    bool SetResourcesSkin(const std::wstring& name) override;
    bool InitializeCommonDialogs() override;
    // The framework's language and skin set-up, then the language file
    // check: a program without its texts shows nothing readable, so a
    // language file that cannot serve ends the start (exit code 2) with a
    // message that names it, in words that need no language file.
    bool _PostInitialize() override;

    bool AreResourcesReady() const { return m_areResourcesReady; }

    // The classes of the document template (the program's document, frame
    // and view); tests put their own in before StartApplication.
    struct TemplateClasses {
        CRuntimeClass* pDocClass;
        CRuntimeClass* pFrameClass;
        CRuntimeClass* pViewClass;
    };
    static TemplateClasses GetDefaultTemplateClasses();
    void SetTemplateClasses(const TemplateClasses& classes) { m_templateClasses = classes; }

protected:
    // Where the program's data lies: the executable's folder.
    virtual FileSystem::Folder _GetProgramFolder() const;

    // The current language's Resources.xml; false, with the log line and the
    // damage message, when it is missing or cannot serve.
    bool _CheckLanguageFile();

    // The steps of StartApplication, in order.
    // Loads "Styles\Default.skn.xml"; a file that cannot serve is a warning
    // in the log and leaves an empty document, whose colours fall back to
    // the program's own.
    void _CreateSkinManager();
    // Template 128 and the command line; false when either fails.
    bool _CreateMainWindow();
    // _StartEngine, and on failure the EngineLoadFailure box; its result.
    bool _StartEngineOrReport();
    // EngineLoadFailure / FatalError, owned by the main window when there is one.
    void _ReportEngineFailure();
    // Shows the main window, starts the update watcher and the tips updater.
    void _ShowAndStartWorkers();
    // Makes the videos folder and tells the user, once, when no video can
    // be saved there (a Warning box owned by the main window).
    void _CheckVideosFolder();

    // Initialize, then SetState(on) with the adapter's faces; a warning text
    // is shown. False, without a message, when the engine refuses.
    bool _StartEngine();
    void _StopEngine();

    boost::shared_ptr<KavennaEngine::IEngine> m_pKavennaEngine;
    boost::shared_ptr<Tips::TipsUpdater> m_pTipsUpdater;
    std::unique_ptr<FileSystem::XmlFile> m_pSkinManager;
    // Owned; created by Initialize and deleted by the shutdown (its
    // destructor saves the settings).
    Settings* m_pSettings = nullptr;

private:
    TemplateClasses m_templateClasses;
    bool m_areResourcesReady = false;
};

// Sets the text of the dialog's label control (a CTextLabel) with that id.
// A null dialog reports "((pDlg))", a missing control "((pItem))", both as
// errors; nothing is set then and false comes back.
bool SetDlgLabelText(CWnd* pDlg, UINT id, const wlitestring& text);
