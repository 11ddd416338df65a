// The stolen-video question over the program's own skin and language, run
// by the main window as one of its dialogs: the shipped layout window holds
// what the question needs and every text it shows resolves.
#include "ProgramTestSupport.h"

#include "downloads/app/ViewHost.h"
#include "downloads/engine/EngineAdapter.h"
#include "downloads/view/StolenVideoDialog.h"
#include "engine/EngineTestDoor.h"
#include "mfc/ModalSeams.h"
#include "shell/frame/MainFrame.h"
#include "shell/program/BrunlowResources.h"
#include "skin/commongui/UserInput.h"
#include "skin/layout/IDrawable.h"
#include "skin/layout/IElement.h"
#include "skin/layout/IPicture.h"
#include "skin/layout/IVisualInfo.h"
#include "testing/WindowPicture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using ProgramTests::PumpPending;
using ProgramTests::TestBrunlowApp;

namespace {

std::function<void(StolenVideoDialog&)> g_onQuestion;
void OnModalLoop(CWnd& window) {
    if (StolenVideoDialog* pQuestion = dynamic_cast<StolenVideoDialog*>(&window)) {
        if (g_onQuestion)
            g_onQuestion(*pQuestion);
    }
    CDialog* pDialog = dynamic_cast<CDialog*>(&window);
    if (pDialog && (pDialog->m_nFlags & WF_CONTINUEMODAL))
        pDialog->EndDialog(IDCANCEL);
}

// The texts of the element's pictures, as the question draws them.
std::vector<std::wstring> ElementTexts(StolenVideoDialog& dialog, const boost::shared_ptr<LayoutLib::IElement>& element) {
    std::vector<std::wstring> texts;
    const boost::shared_ptr<LayoutLib::IManager> layout = dialog.GetLayoutManager();
    const boost::shared_ptr<LayoutLib::IVisualInfo> visual = element->GetVisual();
    if (!visual)
        return texts;
    for (const wchar_t* stateName : {L"out", L"checked_out", L"unchecked_out"}) {
        const boost::shared_ptr<LayoutLib::IVisualState> state = visual->FindState(stateName);
        const boost::shared_ptr<LayoutLib::IPicture> picture =
            state ? layout->GetPicture(state->GetPicture(), {}) : nullptr;
        LayoutLib::DrawableList drawables;
        if (!picture || !picture->GetDrawables(drawables))
            continue;
        for (const boost::shared_ptr<LayoutLib::IDrawable>& drawable : drawables) {
            if (drawable->GetKind() == LayoutLib::DrawableText)
                texts.push_back(dialog.GetElementText(drawable, element));
        }
    }
    return texts;
}

TEST(StolenVideoQuestion, TheProgramsSkinAsksWithThreeControlsABoxAndItsTexts) {
    ProgramTests::UseProgramResources();
    TestBrunlowApp app;
    ASSERT_TRUE(app.Initialize());
    app._CreateSkinManager();
    const boost::shared_ptr<KavennaEngine::IEngine> pEngine = app.GetKavennaEngine();
    Engine::EngineAdapter& adapter = Engine::EngineAdapter::Instance();
    ASSERT_TRUE(pEngine->Initialize(adapter.GetElevation(), adapter.GetEnvironment()));
    const AfxModalLoopHook previousHook = AfxSetModalLoopHook(&OnModalLoop);
    CMainFrame* pFrame = new CMainFrame;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, nullptr));
    const HWND frameWindow = pFrame->m_hWnd;
    app.m_pMainWnd = pFrame;
    pFrame->ShowWindow(SW_SHOWNORMAL);
    PumpPending();

    Brunlow::IViewHost* pHost = Brunlow::ViewHost::Get();
    ASSERT_NE(nullptr, pHost) << "the main window fills the list's layer";
    const boost::shared_ptr<LayoutLib::IManager> layout = pHost->GetLayoutManager();
    ASSERT_TRUE(layout) << "the program's skin has a layout";

    bool asked = false;
    g_onQuestion = [&](StolenVideoDialog& dialog) {
        asked = true;
        ASSERT_TRUE(dialog.IsLayoutLoaded());
        const boost::shared_ptr<LayoutLib::IWindow> window = dialog.GetLayoutWindow();
        int checkBoxes = 0;
        LayoutLib::ElementList elements;
        window->GetElements(elements);
        for (const boost::shared_ptr<LayoutLib::IElement>& element : elements) {
            const std::wstring name = element->GetName();
            SCOPED_TRACE(std::string(name.begin(), name.end()));
            if (element->GetType() == L"checkbox") {
                ++checkBoxes;
                EXPECT_EQ(&dialog.GetCheckBox(), dialog.GetAutoControl(element));
            }
            for (const std::wstring& text : ElementTexts(dialog, element)) {
                EXPECT_FALSE(text.empty()) << "every text resolves";
                EXPECT_EQ(std::wstring::npos, text.find(L'{')) << "placeholders expanded";
            }
        }
        EXPECT_EQ(1, checkBoxes);
        for (int id : {StolenVideoDialog::ControlWatch, StolenVideoDialog::ControlCaptureOff,
                       StolenVideoDialog::ControlClose}) {
            SCOPED_TRACE(id);
            const boost::shared_ptr<LayoutLib::IElement> element = window->GetElementById(id);
            ASSERT_TRUE(element);
            EXPECT_NE(L"checkbox", element->GetType());
            EXPECT_FALSE(ElementTexts(dialog, element).empty()) << "a command says what it does";
        }
        EXPECT_TRUE(dialog.IsCheckBoxChecked()) << "it keeps asking unless the user ticks the box";
        EXPECT_TRUE(dialog.GetExStyle() & WS_EX_TOPMOST);
        dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        PumpPending();
        EXPECT_FALSE(Testing::SaveWindowPicture(dialog.m_hWnd, L"stolen_video_question").empty());
        dialog.EndDialog(IDCANCEL);
    };
    StolenVideoDialog dialog(layout, pFrame);
    EXPECT_EQ(IDCANCEL, pHost->RunDialog(dialog));
    EXPECT_TRUE(asked);

    g_onQuestion = nullptr;
    AfxSetModalLoopHook(previousHook);
    if (::IsWindow(frameWindow))
        pFrame->DestroyWindow();
    app.m_pMainWnd = nullptr;
    PumpPending();
    pEngine->Uninitialize();
}

}  // namespace
