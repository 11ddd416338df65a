#include "ProgramTestSupport.h"

#include "downloads/settings/Settings.h"
#include "foundation/errors/ErrorException.h"
#include "foundation/tests/RecordingSink.h"
#include "resources/appresources/ResManagerExtraParamsProvider.h"
#include "testing/ChildProcess.h"

#include <gtest/gtest.h>

using ProgramTests::CallsOf;
using ProgramTests::Door;
using ProgramTests::MessageBoxRecorder;
using ProgramTests::TestBrunlowApp;

namespace {

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
        EXPECT_EQ(L"The capture engine could not be started. Brunlow Program Tests will now close.",
                  boxes.calls[0].text);
        EXPECT_EQ(L"Fatal error", boxes.calls[0].caption);
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
