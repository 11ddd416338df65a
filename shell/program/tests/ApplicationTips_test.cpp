// The application hands the download list its tips of the day for the run
// once the document template has made the list: the installed tips file,
// read with show counting on.
#include "ProgramTestSupport.h"

#include "downloads/view/BrunlowDoc.h"
#include "downloads/view/BrunlowView.h"
#include "shell/tips/TipsFiles.h"
#include "shell/tips/ViewTipsAdapter.h"
#include "testing/TempFolder.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using ProgramTests::TestBrunlowApp;

// The list with the tips it was handed in reach.
class TipsProbeView : public CBrunlowView {
    DECLARE_DYNCREATE(TipsProbeView)
public:
    const boost::shared_ptr<IViewTips>& Tips() const { return m_pTips; }
};
IMPLEMENT_DYNCREATE(TipsProbeView, CBrunlowView)

class TipsApp : public TestBrunlowApp {
public:
    using CBrunlowApp::_CreateMainWindow;
};

std::wstring& DataRoot() {
    static std::wstring root;
    return root;
}

TEST(ApplicationTips, TheListGetsTheDataFoldersTipsCountingShows) {
    ProgramTests::UseProgramResources();
    Testing::TempFolder folder;
    Testing::TempRegistryKey statistics;
    DataRoot() = folder.Path();
    Tips::PathSource source;
    source.localAppData = [] { return DataRoot(); };
    source.fallbackTipsFile = [] { return DataRoot() + L"\\none.xml"; };
    const Tips::PathSource previous = Tips::SetPathSource(source);
    {
        TipsApp app;
        // The statistics under a key of the test's own.
        const std::wstring keyName = statistics.SubKey().substr(std::wstring(L"Software\\").size());
        auto& values = app.Product().values.values;
        values[ApplicationFramework::ProductValue::ProductKeyName] = keyName;
        values[ApplicationFramework::ProductValue::TipsFileName] = L"TipOfTheDay.xml";
        values[ApplicationFramework::ProductValue::NewTipsFileName] = L"TipOfTheDay_new.xml";
        app.Product().Initialize();
        ASSERT_TRUE(app.Initialize());
        app._CreateSkinManager();
        const std::string oem = std::to_string(Tips::GetProductValues().oemId);
        folder.WriteFile(L"Brunlow Program Tests\\TipOfTheDay.xml",
                         "<?xml version=\"1.0\"?><TipsOfTheDay><FileVersion version=\"1\"/><OEM id=\"" + oem +
                             "\"><Product name=\"Default\"><Tips>"
                             "<Tip orderId=\"1\" guid=\"limited\"><ShowCount>3</ShowCount>"
                             "<TipText><en-us>One</en-us></TipText></Tip>"
                             "<Tip orderId=\"2\" guid=\"free\"><TipText><en-us>Two</en-us></TipText></Tip>"
                             "</Tips></Product></OEM></TipsOfTheDay>");

        app.SetTemplateClasses({RUNTIME_CLASS(CBrunlowDoc), RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(TipsProbeView)});
        app.m_lpCmdLine = const_cast<LPWSTR>(L"");
        app.m_nCmdShow = SW_HIDE;
        ASSERT_TRUE(app._CreateMainWindow());
        CFrameWnd* frame = dynamic_cast<CFrameWnd*>(app.m_pMainWnd);
        ASSERT_NE(nullptr, frame);
        TipsProbeView* view = dynamic_cast<TipsProbeView*>(frame->GetActiveView());
        ASSERT_NE(nullptr, view);
        ASSERT_TRUE(view->Tips());
        EXPECT_NE(nullptr, dynamic_cast<Tips::ViewTipsAdapter*>(view->Tips().get()));
        EXPECT_EQ(2u, view->Tips()->GetTipsCount());
        EXPECT_EQ(L"One", view->Tips()->GetCurrentText(L"en-us"));
        EXPECT_EQ(1, view->Tips()->GetCurrentTip().shownCount);

        frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        ProgramTests::PumpPending();
    }
    // The list's collection went with it and wrote the run's show.
    DWORD value = 0, size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CURRENT_USER, (statistics.SubKey() + L"\\Statistics\\Tips").c_str(),
                                            L"limited", RRF_RT_REG_DWORD, nullptr, &value, &size));
    EXPECT_EQ(1u, value);
    Tips::SetPathSource(previous);
}

}  // namespace
