#include "shell/app/BrunlowApp.h"

#include "downloads/engine/EngineLibrary.h"
#include "controls/label/TextLabel.h"
#include "foundation/errors/Checks.h"

namespace {
CBrunlowApp* g_pApp = nullptr;
}

CBrunlowApp::CBrunlowApp() {
    g_pApp = this;
    Brunlow::AppAccess::Set(this);
}

CBrunlowApp::~CBrunlowApp() {
    if (Brunlow::AppAccess::Get() == this)
        Brunlow::AppAccess::Set(nullptr);
    if (g_pApp == this)
        g_pApp = nullptr;
    m_pSkinManager.reset();
    m_pTipsUpdater.reset();
    m_pKavennaEngine.reset();
}

CBrunlowApp* CBrunlowApp::GetApp() {
    return g_pApp;
}

Settings* CBrunlowApp::GetSettings() {
    Settings* const m_pSettings = g_pApp ? g_pApp->m_pSettings : nullptr;
    CHECK_ASSERT(m_pSettings);
    return m_pSettings;
}

FileSystem::XmlFile* CBrunlowApp::GetSkinManager() {
    FileSystem::XmlFile* const m_pSkinManager = g_pApp ? g_pApp->m_pSkinManager.get() : nullptr;
    CHECK_ASSERT(m_pSkinManager);
    return m_pSkinManager;
}

boost::shared_ptr<KavennaEngine::IEngine> CBrunlowApp::GetKavennaEngine() {
    if (!m_pKavennaEngine) {
        if (KavennaEngine::Library* pLibrary = KavennaEngine::GetBoundLibrary())
            pLibrary->CreateEngine(m_pKavennaEngine);
    }
    CHECK_ASSERT(m_pKavennaEngine);
    return m_pKavennaEngine;
}

bool SetDlgLabelText(CWnd* pDlg, UINT id, const wlitestring& text) {
    CHECK_ERROR(pDlg);
    CWnd* const pItem = pDlg->GetDlgItem(id);
    CHECK_ERROR(pItem);
    return SetLabelItemText(pItem, text);
}
