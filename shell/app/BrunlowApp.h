#pragma once
// CBrunlowApp: the program's one application object. This part holds the
// objects the whole program reaches through its accessors: the settings,
// the skin document and the capture engine. It fills the download list's
// accessor layer while it lives, so that the list reaches them without
// linking the shell.
//
//   Settings* pSettings = CBrunlowApp::GetSettings();        // raises when absent
//   auto pEngine = theApp.GetKavennaEngine();
//
// Thread: the GUI thread.
#include "downloads/app/AppAccess.h"
#include "engine/KavennaEngine.h"
#include "foundation/filesystem/XmlFile.h"
#include "foundation/strings/LiteString.h"

#include <boost/shared_ptr.hpp>

#include <memory>

class CWnd;
class Settings;
namespace Tips {
class TipsUpdater;
}

class CBrunlowApp : public Brunlow::IAppAccess {
public:
    CBrunlowApp();
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

protected:
    boost::shared_ptr<KavennaEngine::IEngine> m_pKavennaEngine;
    boost::shared_ptr<Tips::TipsUpdater> m_pTipsUpdater;
    std::unique_ptr<FileSystem::XmlFile> m_pSkinManager;
    // Owned; created by the start-up and deleted by the shutdown, which come
    // with the settings record's type.
    Settings* m_pSettings = nullptr;
};

// Sets the text of the dialog's label control (a CTextLabel) with that id.
// A null dialog reports "((pDlg))", a missing control "((pItem))", both as
// errors; nothing is set then and false comes back.
bool SetDlgLabelText(CWnd* pDlg, UINT id, const wlitestring& text);
