#include "ProgramTestSupport.h"

#include "downloads/engine/EngineLibrary.h"
#include "downloads/settings/Settings.h"
#include "foundation/errors/ErrorException.h"
#include "foundation/tests/RecordingSink.h"
#include "resources/appresources/ResManagerExtraParamsProvider.h"
#include "testing/ChildProcess.h"
#include "testing/TempFolder.h"

#include <atlexcept.h>
#include <comdef.h>
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <functional>
#include <stdexcept>

using ProgramTests::CallsOf;
using ProgramTests::Door;
using ProgramTests::MessageBoxRecorder;
using ProgramTests::TestBrunlowApp;

namespace {

// The program's English texts of a failed engine start.
const wchar_t kEngineFailureText[] = L"The capture engine could not be started. The program will close now.";
const wchar_t kEngineFailureCaption[] = L"Start-up failed";

// The engine as the start-up finds it: refusals, warning and log cleared.
struct EngineReset {
    EngineReset() { Reset(); }
    ~EngineReset() { Reset(); }
    static void Reset() {
        Door()->SetRefusals(KavennaEngine::TestDoor::RefuseNothing);
        Door()->SetStateWarning(L"");
        Door()->ClearCallLog();
    }
};

TEST(BrunlowApplication, EngineStartsWithBothFacesThenSwitchesOn) {
    ASSERT_TRUE(Door());
    ProgramTests::UseProgramResources();
    TestBrunlowApp app;
    EngineReset reset;
    MessageBoxRecorder boxes;
    ASSERT_TRUE(app._StartEngineOrReport());
    const std::vector<std::wstring> calls = CallsOf(L"Initialize");
    ASSERT_EQ(1u, calls.size());
    const std::vector<std::wstring> log = Door()->GetCallLog();
    auto position = [&](const std::wstring& call) {
        for (size_t i = 0; i < log.size(); ++i)
            if (log[i].compare(0, call.size(), call) == 0)
                return static_cast<int>(i);
        return -1;
    };
    EXPECT_LT(position(L"Initialize"), position(L"SetState 0"));
    EXPECT_TRUE(boxes.calls.empty()) << "no warning, no message";
    app.GetKavennaEngine()->Uninitialize();
}

TEST(BrunlowApplication, RefusedEngineShowsTheFatalMessageWithoutOwner) {
    ProgramTests::UseProgramResources();
    TestBrunlowApp app;
    app.GetKavennaEngine();  // the door acts on the engine made last
    EngineReset reset;
    MessageBoxRecorder boxes;
    for (unsigned refusal : {KavennaEngine::TestDoor::RefuseInitialize, KavennaEngine::TestDoor::RefuseSetState}) {
        SCOPED_TRACE(refusal);
        boxes.calls.clear();
        Door()->SetRefusals(refusal);
        EXPECT_FALSE(app._StartEngineOrReport());
        ASSERT_EQ(1u, boxes.calls.size());
        EXPECT_EQ(nullptr, boxes.calls[0].owner) << "no main window: no owner";
        EXPECT_EQ(kEngineFailureText, boxes.calls[0].text);
        EXPECT_EQ(kEngineFailureCaption, boxes.calls[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.calls[0].type);
    }
}

TEST(BrunlowApplication, EngineWarningIsShownAndStartGoesOn) {
    ProgramTests::UseProgramResources();
    TestBrunlowApp app;
    app.GetKavennaEngine();
    EngineReset reset;
    MessageBoxRecorder boxes;
    Door()->SetStateWarning(L"Another capture program runs.");
    EXPECT_TRUE(app._StartEngineOrReport());
    ASSERT_EQ(1u, boxes.calls.size());
    EXPECT_EQ(L"Another capture program runs.", boxes.calls[0].text);
    EXPECT_EQ(L"Warning", boxes.calls[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), boxes.calls[0].type);
    app.GetKavennaEngine()->Uninitialize();
}

TEST(BrunlowApplication, NamesAndSkinBeforeAndAfterTheResources) {
    TestBrunlowApp app;
    std::wstring language = L"x", skin = L"x";
    app.GetCurrentLanguageName(language);
    app.GetCurrentSkinName(skin);
    EXPECT_EQ(L"", language) << "resources not ready";
    EXPECT_EQ(L"", skin);
    std::wstring configured;
    app.GetConfiguredSkinName(configured);
    EXPECT_EQ(L"orangeblack", configured);
    std::wstring folder;
    app.GetResourcesFolder(folder);
    EXPECT_EQ(ProgramTests::ProgramResourcesFolder(), folder);
}

TEST(BrunlowApplication, InitializeMakesTheSettingsAndShutdownSavesThem) {
    ProgramTests::UseProgramResources();
    TestBrunlowApp app;
    EngineReset reset;
    ASSERT_TRUE(app.Initialize());
    ASSERT_NE(nullptr, CBrunlowApp::GetSettings());
    CBrunlowApp::GetSettings()->SetCloseAction(1);
    app._CreateSkinManager();
    ASSERT_NE(nullptr, CBrunlowApp::GetSkinManager());
    EXPECT_EQ(0x00262626u, CBrunlowApp::GetSkinManager()->GetColor(L"skin/application/toolbar/on/colors/gradientD"));
    app.GetKavennaEngine();
    app.ShutdownApplication();
    EXPECT_EQ(nullptr, app.m_pSettings);
    EXPECT_EQ(nullptr, app.m_pSkinManager.get());
    EXPECT_EQ(1u, CallsOf(L"Uninitialize").size());
    EXPECT_EQ(1u, app.GetProfileInt(L"Settings", L"CloseAction", 7)) << "the settings were saved on the way";
}

// A videos folder no video can be saved in is told at start, in the
// program's own words, naming the folder; a usable one is made quietly.
TEST(BrunlowApplication, AnUnusableVideosFolderIsToldAtStart) {
    ProgramTests::UseProgramResources();
    TestBrunlowApp app;
    app.m_pSettings = new Settings();
    Testing::TempFolder temp;
    const std::wstring advice = L"\n\nNo video can be downloaded until you choose another folder in Settings.";
    std::wstring missingDrive;
    for (wchar_t letter = L'Y'; letter >= L'Q' && missingDrive.empty(); --letter) {
        if (!(::GetLogicalDrives() & (1u << (letter - L'A'))))
            missingDrive = std::wstring(1, letter) + L":\\Videos";
    }
    std::wstring tooLong = temp.Path() + L"\\";
    while (tooLong.size() < 10020)
        tooLong += L"folder\\";
    tooLong.resize(10020);
    struct Case {
        const char* name;
        std::wstring folder;
        std::wstring text;  // empty: no message
    } cases[] = {
        {"two levels below a missing parent", temp / L"new\\deeper\\videos", L""},
        {"with <>|", temp / L"a<b>c|d",
         L"The path of the video download folder has characters that Windows allows in no name (< > |):\n" +
             (temp / L"a<b>c|d") + advice},
        {"on a missing drive", missingDrive,
         L"The drive of the video download folder does not exist:\n" + missingDrive + advice},
        {"10,020 characters long", tooLong,
         L"The path of the video download folder is too long for Windows (10020 characters):\n" +
             tooLong.substr(0, 80) + L"..." + tooLong.substr(10020 - 60) + advice},
        {"read-only", L"Z:\\sys",
         L"Videos cannot be saved in the video download folder (Access denied):\nZ:\\sys" + advice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.m_pSettings->SetVideosFolder(c.folder);
        MessageBoxRecorder boxes;
        app._CheckVideosFolder();
        if (c.text.empty()) {
            EXPECT_TRUE(boxes.calls.empty());
            EXPECT_TRUE(Testing::PathExists(c.folder));
            continue;
        }
        ASSERT_EQ(1u, boxes.calls.size());
        EXPECT_EQ(c.text, boxes.calls[0].text);
        EXPECT_EQ(L"Warning", boxes.calls[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), boxes.calls[0].type);
        EXPECT_EQ(nullptr, boxes.calls[0].owner) << "no main window: no owner";
    }
    EXPECT_TRUE(Testing::FileNamesIn(temp.Path()).empty()) << "no probe file is left";
    EXPECT_TRUE(Testing::FileNamesIn(temp / L"new\\deeper\\videos").empty()) << "no probe file is left";
}

// Beside a copy of the tests without the engine library.
TESTING_CHILD_SCENARIO(StartWithoutEngineLibrary) {
    if (KavennaEngine::GetBoundLibrary())
        return 2;
    ProgramTests::UseProgramResources();
    TestBrunlowApp app;
    MessageBoxRecorder boxes;
    if (!app.Initialize())
        return 3;
    if (app.StartApplication())
        return 4;
    if (boxes.calls.size() != 1)
        return 5;
    const ProgramTests::MessageBoxCall& box = boxes.calls[0];
    if (box.owner != nullptr)
        return 6;
    if (box.text != kEngineFailureText)
        return 7;
    if (box.caption != kEngineFailureCaption || box.type != static_cast<UINT>(MB_ICONERROR))
        return 8;
    if (AfxGetMainWnd() != nullptr)
        return 9;  // the window was never made
    return 0;
}

TEST(BrunlowApplication, WithoutTheEngineLibraryStartUpEndsWithTheFatalMessage) {
    Testing::CopiedProgram program;
    const Testing::ChildResult result =
        program.Run("StartWithoutEngineLibrary", ProgramTests::ProgramFolder().GetPath());
    EXPECT_TRUE(Testing::ChildSucceeded(result)) << result.exitCode;
}

// The stand-in engine, whose Uninitialize throws once it has run.
class ThrowingEngine : public KavennaEngine::IEngine {
public:
    ThrowingEngine(boost::shared_ptr<KavennaEngine::IEngine> inner, std::function<void()> raise)
        : m_inner(std::move(inner)), m_raise(std::move(raise)) {}

    bool Uninitialize() override {
        ++uninitializeCalls;
        m_inner->Uninitialize();
        m_raise();
        return true;
    }
    std::wstring GetVersionText() override { return m_inner->GetVersionText(); }
    void DropItem(const KavennaEngine::DownloadItemHandle& item) override { m_inner->DropItem(item); }
    bool IsBusy(bool reserved) override { return m_inner->IsBusy(reserved); }
    bool CanProcessItemFurther(KavennaEngine::IDownloadItem* item) override {
        return m_inner->CanProcessItemFurther(item);
    }
    KavennaEngine::IAuxiliary* GetAuxiliaryObject() override { return m_inner->GetAuxiliaryObject(); }
    boost::shared_ptr<KavennaEngine::IConversionPresets>& GetConversionPresets(
        boost::shared_ptr<KavennaEngine::IConversionPresets>& presets) override {
        return m_inner->GetConversionPresets(presets);
    }
    bool Initialize(KavennaEngine::IElevation* elevation, KavennaEngine::IEnvironment* environment) override {
        return m_inner->Initialize(elevation, environment);
    }
    void Subscribe(KavennaEngine::IEngineObserver* observer) override { m_inner->Subscribe(observer); }
    void Unsubscribe(KavennaEngine::IEngineObserver* observer) override { m_inner->Unsubscribe(observer); }
    int GetState() override { return m_inner->GetState(); }
    bool SetState(int state, std::wstring* message) override { return m_inner->SetState(state, message); }
    void SetAllowStealing(bool allow) override { m_inner->SetAllowStealing(allow); }
    void AddFile(const std::wstring& path) override { m_inner->AddFile(path); }
    bool AddUrl(const std::wstring& url) override { return m_inner->AddUrl(url); }
    std::uint32_t GetItemCount() override { return m_inner->GetItemCount(); }

    int uninitializeCalls = 0;

private:
    boost::shared_ptr<KavennaEngine::IEngine> m_inner;
    std::function<void()> m_raise;
};

TEST(BrunlowApplication, AThrowingShutdownStepLeavesTheLaterOnesRunning) {
    struct Case {
        const char* name;
        std::function<void()> raise;
    } cases[] = {
        {"std::exception", [] { throw std::runtime_error("the engine is gone"); }},
        {"Win32 error", [] { throw ErrorHandling::exception_win("access denied", ERROR_ACCESS_DENIED); }},
        {"COM error", [] { throw _com_error(E_UNEXPECTED); }},
        {"ATL exception", [] { throw ATL::CAtlException(E_OUTOFMEMORY); }},
    };
    ProgramTests::UseProgramResources();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestBrunlowApp app;
        EngineReset reset;
        ASSERT_TRUE(app.Initialize());
        CBrunlowApp::GetSettings()->SetCloseAction(1);
        app._CreateSkinManager();
        const auto engine = boost::make_shared<ThrowingEngine>(app.GetKavennaEngine(), c.raise);
        app.m_pKavennaEngine = engine;
        EXPECT_NO_THROW(app._BeginShutdown()) << "the engine's stop is guarded";
        EXPECT_NO_THROW(app.ShutdownApplication());
        EXPECT_EQ(2, engine->uninitializeCalls) << "stopped, then stopped once more by the shutdown";
        EXPECT_EQ(nullptr, app.m_pTipsUpdater.get()) << "the tips updater released";
        EXPECT_EQ(1u, CallsOf(L"OnApplicationExit").size()) << "the engine library told";
        EXPECT_EQ(nullptr, app.m_pSkinManager.get());
        EXPECT_EQ(nullptr, app.m_pSettings);
        EXPECT_EQ(1u, app.GetProfileInt(L"Settings", L"CloseAction", 7)) << "the settings saved";
    }
}

// A fresh process: the resource holder takes its parameters once.
TESTING_CHILD_SCENARIO(ExtraParametersRefuseNumbersAndPlaceholders) {
    TestBrunlowApp app;
    app.Product().further = {{L"", L"empty name"}, {L"{x}", L"braced"},   {L"12", L"number"},
                             {L" 7", L"spaced number"}, {L"Plain", L""}, {L"Site", L"http://s/"},
                             {L"Site", L"http://t/"}};
    if (!app.InitializeResources(ProgramTests::ProgramResourcesFolder()))
        return 2;
    auto provider = AppResources::ResourceManagerHolder::GetExtraParamsProvider();
    if (!provider)
        return 3;
    struct Case {
        const wchar_t* name;
        const wchar_t* value;
    } cases[] = {{L"", L""},          {L"{x}", L""}, {L"12", L""}, {L" 7", L""}, {L"Plain", L""},
                 {L"Site", L"http://t/"}, {L"FullProductName", L"Brunlow Video Downloader"},
                 {L"ProductName", L"Brunlow Program Tests"}};
    int failure = 10;
    for (const Case& c : cases) {
        if (provider->GetParam(c.name) != c.value)
            return failure;
        ++failure;
    }
    std::wstring language, skin;
    app.GetCurrentLanguageName(language);
    app.GetCurrentSkinName(skin);
    if (language != L"en-us" || skin != L"orangeblack")
        return 30;
    return 0;
}

TEST(BrunlowApplication, ExtraParametersRefuseNumbersAndPlaceholders) {
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("ExtraParametersRefuseNumbersAndPlaceholders")));
}

}  // namespace
