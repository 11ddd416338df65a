#pragma once
// The download list in a test frame over the engine's stand-in, with settings
// and a skin document of the test's own: what the view's handlers read
// through the application's layer. The list's set-up runs once per process,
// so one host serves a test file and other set-ups run in children.
#include "downloads/app/AppAccess.h"
#include "downloads/settings/Settings.h"
#include "downloads/view/BrunlowDoc.h"
#include "downloads/view/BrunlowView.h"

#include "EngineStandIn.h"
#include "ListFrame.h"
#include "ProfileApplication.h"
#include "foundation/filesystem/XmlFile.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace DownloadsTests {

// The eight list colours of the engine's on and off states.
const char kListSkinXml[] =
    "<skin><application><main>"
    "<on><colors><background>102030</background><text>F0E0D0</text><heading>00FF00</heading>"
    "<headingShadow>004000</headingShadow></colors></on>"
    "<off><colors><background>405060</background><text>A0B0C0</text><heading>FF0000</heading>"
    "<headingShadow>400000</headingShadow></colors></off>"
    "</main></application></skin>";

// The application's layer with a skin document of the test's own.
class SkinnedAccess : public Brunlow::IAppAccess {
public:
    SkinnedAccess(Settings* pSettings, boost::shared_ptr<KavennaEngine::IEngine> pEngine, const std::wstring& skinPath)
        : m_pSettings(pSettings), m_pEngine(std::move(pEngine)), m_skin(skinPath, false) {
        Brunlow::AppAccess::Set(this);
    }
    ~SkinnedAccess() override { Brunlow::AppAccess::Set(nullptr); }
    Settings* AccessSettings() override { return m_pSettings; }
    FileSystem::XmlFile* AccessSkinManager() override { return &m_skin; }
    boost::shared_ptr<KavennaEngine::IEngine> AccessKavennaEngine() override { return m_pEngine; }
    FileSystem::XmlFile& Skin() { return m_skin; }

private:
    Settings* m_pSettings;
    boost::shared_ptr<KavennaEngine::IEngine> m_pEngine;
    FileSystem::XmlFile m_skin;
};

// A view of class `viewClass` (a CBrunlowView) in a frame of `size`, its
// colours from `skinXml`.
struct ListHost {
    explicit ListHost(CRuntimeClass* viewClass, bool debugMode = false, bool automaticConversion = false,
                      CSize size = CSize(900, 500), const char* skinXml = kListSkinXml) {
        if (debugMode)
            app.WriteProfileString(L"Settings", L"DebugMode", L"true");
        skinPath = skinFolder.WriteFile(L"Skin.xml", skinXml);
        settings = std::make_unique<Settings>();
        settings->SetAutomaticConversion(automaticConversion);
        access = std::make_unique<SkinnedAccess>(settings.get(), engine.pEngine, skinPath);
        if (CFrameWnd* frame = OpenListFrame(app, RUNTIME_CLASS(CFrameWnd), viewClass, size)) {
            this->frame = frame;
            view = dynamic_cast<CBrunlowView*>(frame->GetActiveView());
        }
    }
    ~ListHost() {
        CloseListFrame(app);
        access.reset();
        settings.reset();
    }

    ProfileApplication app;
    EngineStandIn engine;
    Testing::TempFolder skinFolder;
    std::wstring skinPath;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<SkinnedAccess> access;
    CFrameWnd* frame = nullptr;
    CBrunlowView* view = nullptr;
};

// A queue entry for `item`, as the queue hands it to the view's sink.
inline CBrunlowView::QueueEntry ListEntry(const KavennaEngine::DownloadItemHandle& item) {
    CBrunlowView::QueueEntry entry;
    entry.item = item;
    entry.message = CBrunlowView::MessageTypes::Started();
    return entry;
}

// A suite over one host whose view is a `View`: a CBrunlowView with
// `static CRuntimeClass* Class()` and `SetEditingLabel(bool)`. Each test
// starts with no rows, no label edited and automatic conversion off.
template <class View>
class ListHostTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_listHost = new ListHost(View::Class()); }
    static void TearDownTestSuite() {
        delete s_listHost;
        s_listHost = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(s_listHost->view, nullptr);
        view = static_cast<View*>(s_listHost->view);
        door = s_listHost->engine.door;
        ASSERT_NE(door, nullptr);
        s_listHost->settings->SetAutomaticConversion(false);
    }
    void TearDown() override {
        view->SetEditingLabel(false);
        while (!view->GetRowRecords().empty())
            view->RemoveRow(0);
    }

    // An item of the stand-in, named "clip.flv" of kind 1 unless `spec` says.
    KavennaEngine::DownloadItemHandle Add(KavennaEngine::TestDoor::ItemSpec spec) {
        if (spec.displayName.empty())
            spec.displayName = L"clip.flv";
        if (!spec.mediaKind)
            spec.mediaKind = 1;
        return door->AddItem(spec);
    }
    void Started(const KavennaEngine::DownloadItemHandle& item) { view->OnProcessingStarted(ListEntry(item)); }
    void Finished(const KavennaEngine::DownloadItemHandle& item) { view->OnProcessingFinished(ListEntry(item)); }
    std::wstring Text(int row, int column) {
        return std::wstring(view->GetListCtrl().GetItemText(row, column).GetString());
    }

    static ListHost* s_listHost;
    View* view = nullptr;
    KavennaEngine::TestDoor::ITestDoor* door = nullptr;
};
template <class View>
ListHost* ListHostTest<View>::s_listHost = nullptr;

}  // namespace DownloadsTests
