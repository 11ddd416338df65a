// Documents, frames and views made by a single-document template; the shell
// command; command routing and enabling; closing the main frame.
#include "afxpriv.h"
#include "afxwin.h"

#include "MfcTestResources.h"
#include "MfcTestSupport.h"
#include "testing/TempFolder.h"
#include "testing/WindowPicture.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <string>
#include <vector>

using namespace MfcTests;

namespace {

// What the test classes saw; reset by each test.
struct Record {
    int docsMade = 0, docsDeleted = 0;
    int framesMade = 0, framesDeleted = 0;
    int viewsMade = 0, viewsDeleted = 0;
    int newDocuments = 0, initialUpdates = 0;
    bool barEnabled = true;
    std::vector<std::string> handled;
};
Record g_record;

const UINT kBarId = 0xE800;
const int kBarHeight = 40;

class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
public:
    CTestDoc() { ++g_record.docsMade; }
    ~CTestDoc() override { ++g_record.docsDeleted; }
    BOOL OnNewDocument() override {
        ++g_record.newDocuments;
        return CDocument::OnNewDocument();
    }

protected:
    afx_msg void OnDocCommand() { g_record.handled.push_back("document"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
    ON_COMMAND(ID_CMD_DOC, &CTestDoc::OnDocCommand)
END_MESSAGE_MAP()

class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
public:
    CTestView() { ++g_record.viewsMade; }
    ~CTestView() override { ++g_record.viewsDeleted; }
    void OnDraw(CDC* pDC) override {
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(&client, RGB(40, 120, 200));
    }
    void OnInitialUpdate() override {
        ++g_record.initialUpdates;
        CView::OnInitialUpdate();
    }

protected:
    afx_msg void OnViewCommand() { g_record.handled.push_back("view"); }
    afx_msg void OnUpdateViewCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
    afx_msg void OnUpdateBar(CCmdUI* pCmdUI) { pCmdUI->Enable(g_record.barEnabled); }
    afx_msg void OnAccelerator() { g_record.handled.push_back("accelerator"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestView, CView)
BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_COMMAND(ID_CMD_VIEW, &CTestView::OnViewCommand)
    ON_UPDATE_COMMAND_UI(ID_CMD_VIEW, &CTestView::OnUpdateViewCommand)
    ON_UPDATE_COMMAND_UI(ID_CMD_BAR, &CTestView::OnUpdateBar)
    ON_COMMAND(ID_CMD_ACCEL, &CTestView::OnAccelerator)
END_MESSAGE_MAP()

// A bar of 40 pixels at the top with one button, as a toolbar would be.
class CTestBar : public CWnd {
public:
    BOOL Create(CWnd* parent) {
        if (!CWnd::Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), parent, kBarId))
            return FALSE;
        return m_button.Create(L"Bar", WS_CHILD | WS_VISIBLE, CRect(2, 2, 60, 30), this, ID_CMD_BAR);
    }
    CButton m_button;

protected:
    afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam) {
        auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        RECT strip = {layout->rect.left, layout->rect.top, layout->rect.right, layout->rect.top + kBarHeight};
        layout->rect.top += kBarHeight;
        layout->sizeTotal.cy += kBarHeight;
        AfxRepositionWindow(layout, m_hWnd, &strip);
        return 0;
    }
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
        CCmdUI state;
        state.m_pOther = &m_button;
        state.m_nID = ID_CMD_BAR;
        state.DoUpdate(GetParentFrame(), static_cast<BOOL>(wParam));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, &CTestBar::OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CTestBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CTestFrame)
public:
    CTestFrame() { ++g_record.framesMade; }
    ~CTestFrame() override { ++g_record.framesDeleted; }
    CTestBar m_bar;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
        if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
            return -1;
        if (!m_bar.Create(this))
            return -1;
        RecalcLayout();
        return 0;
    }
    afx_msg void OnFrameCommand() { g_record.handled.push_back("frame"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_CMD_FRAME, &CTestFrame::OnFrameCommand)
END_MESSAGE_MAP()

class CDocApp : public CTemplateTestApp {
public:
    CDocApp() : CTemplateTestApp(L"Doc View Test") {}
    void AddTestTemplate(UINT id = IDR_TESTFRAME) {
        AddDocTemplate(new CSingleDocTemplate(id, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame),
                                              RUNTIME_CLASS(CTestView)));
    }
    CTestFrame* Frame() const { return dynamic_cast<CTestFrame*>(m_pMainWnd); }

protected:
    afx_msg void OnAppCommand() { g_record.handled.push_back("app"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDocApp, CTemplateTestApp)
    ON_COMMAND(ID_CMD_APP, &CDocApp::OnAppCommand)
END_MESSAGE_MAP()

CRect RectInParent(HWND hWnd) {
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

CView* OnlyView(CDocument* document) {
    POSITION position = document->GetFirstViewPosition();
    CView* view = position ? document->GetNextView(position) : nullptr;
    return position ? nullptr : view;  // null unless exactly one
}

class DocViewTest : public testing::Test {
protected:
    void SetUp() override { g_record = Record(); }
    void TearDown() override { DropQuitMessage(); }
};

TEST_F(DocViewTest, FileNewMakesDocumentFrameAndViewOnceAndLaysThemOut) {
    CDocApp app;
    app.AddTestTemplate();
    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    EXPECT_EQ(g_record.docsMade, 1);
    EXPECT_EQ(g_record.framesMade, 1);
    EXPECT_EQ(g_record.viewsMade, 1);
    EXPECT_EQ(g_record.newDocuments, 1);
    EXPECT_EQ(g_record.initialUpdates, 1);

    CTestFrame* frame = app.Frame();
    ASSERT_NE(frame, nullptr);
    CView* view = frame->GetActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    CDocument* document = view->GetDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(OnlyView(document), view);
    EXPECT_EQ(frame->GetActiveDocument(), document);
    EXPECT_EQ(view->GetParentFrame(), frame);

    // The template's menu, icon and title.
    CMenu* menu = frame->GetMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(menu->GetSubMenu(0), nullptr);
    EXPECT_EQ(menu->GetSubMenu(0)->GetMenuItemID(0), static_cast<UINT>(ID_CMD_VIEW));
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(frame->m_hWnd, GCLP_HICON)),
              LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TESTFRAME)));
    EXPECT_NE(GetClassLongPtrW(frame->m_hWnd, GCLP_HICON), 0u);
    EXPECT_TRUE(frame->GetStyle() & FWS_ADDTOTITLE);
    CString title;
    frame->GetWindowText(title);
    EXPECT_EQ(title, L"TestDoc - Frame Test");
    EXPECT_TRUE(frame->IsWindowVisible());

    // The bar takes its 40 pixels at the top, the view the rest; again after a resize.
    for (int width : {500, 640}) {
        SCOPED_TRACE(width);
        frame->SetWindowPos(nullptr, 0, 0, width, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CRect client;
        frame->GetClientRect(&client);
        EXPECT_EQ(RectInParent(frame->m_bar.m_hWnd), CRect(0, 0, client.right, kBarHeight));
        EXPECT_EQ(RectInParent(view->m_hWnd), CRect(0, kBarHeight, client.right, client.bottom));
    }
    PumpPending();
    Testing::SaveWindowPicture(frame->m_hWnd, L"DocViewFrame");

    // A second new document reuses all three and runs the new document and
    // the initial update again.
    app.OnFileNew();
    EXPECT_EQ(app.Frame(), frame);
    EXPECT_EQ(frame->GetActiveView(), view);
    EXPECT_EQ(view->GetDocument(), document);
    EXPECT_EQ(g_record.docsMade, 1);
    EXPECT_EQ(g_record.framesMade, 1);
    EXPECT_EQ(g_record.viewsMade, 1);
    EXPECT_EQ(g_record.newDocuments, 2);
    EXPECT_EQ(g_record.initialUpdates, 2);
    EXPECT_EQ(app.m_pDocManager->GetOpenDocumentCount(), 1);

    frame->DestroyWindow();
    EXPECT_EQ(g_record.framesDeleted, 1);
    EXPECT_EQ(g_record.viewsDeleted, 1);
    EXPECT_EQ(g_record.docsDeleted, 1);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(app.m_pDocManager->GetOpenDocumentCount(), 0);
}

TEST_F(DocViewTest, ShellCommandsFollowTheFrameworksRules) {
    Testing::TempFolder folder;
    const std::wstring existing = folder.WriteFile(L"present.tst", "data");
    const std::wstring missing = folder / L"missing.tst";
    struct Case {
        const char* name;
        int command;
        std::wstring file;
        UINT resource;
        bool result;
        bool mainWindow;
        int messages;
    } cases[] = {
        {"FileNew", CCommandLineInfo::FileNew, L"", IDR_TESTFRAME, true, true, 0},
        {"FileNew without a frame menu", CCommandLineInfo::FileNew, L"", IDR_BAREFRAME, false, false, 1},
        {"FileOpen", CCommandLineInfo::FileOpen, existing, IDR_TESTFRAME, true, true, 0},
        {"FileOpen of a missing file", CCommandLineInfo::FileOpen, missing, IDR_TESTFRAME, false, false, 1},
        {"FileNothing", CCommandLineInfo::FileNothing, L"", IDR_TESTFRAME, true, false, 0},
        {"AppRegister", CCommandLineInfo::AppRegister, L"", IDR_TESTFRAME, false, false, 0},
        {"AppUnregister", CCommandLineInfo::AppUnregister, L"", IDR_TESTFRAME, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_record = Record();
        MessageBoxAnswer answer(IDOK);
        {
            CDocApp app;
            app.AddTestTemplate(c.resource);
            CCommandLineInfo info;
            info.m_nShellCommand = c.command;
            info.m_strFileName = c.file.c_str();
            EXPECT_EQ(app.ProcessShellCommand(info) != FALSE, c.result);
            EXPECT_EQ(app.m_pMainWnd != nullptr, c.mainWindow);
            EXPECT_EQ(answer.Count(), c.messages);
            if (c.command == CCommandLineInfo::FileOpen && !c.result) {
                EXPECT_NE(answer.Text().find(missing), std::wstring::npos) << testing::PrintToString(answer.Text());
            }
            if (c.command == CCommandLineInfo::FileOpen && c.result) {
                CDocument* document = app.Frame()->GetActiveDocument();
                ASSERT_NE(document, nullptr);
                EXPECT_EQ(std::wstring(document->GetPathName()), existing);
                EXPECT_EQ(document->GetTitle(), L"present.tst");
            }
            // Nothing is left over from a command that made no window.
            if (!c.mainWindow) {
                EXPECT_EQ(g_record.framesMade, g_record.framesDeleted);
                EXPECT_EQ(g_record.viewsMade, g_record.viewsDeleted);
                EXPECT_EQ(g_record.docsMade, g_record.docsDeleted);
            }
        }
        EXPECT_EQ(g_record.docsMade, g_record.docsDeleted);
    }
}

TEST_F(DocViewTest, CommandsRouteThroughViewDocumentFrameAndApplication) {
    CDocApp app;
    app.AddTestTemplate();
    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    CTestFrame* frame = app.Frame();
    ASSERT_NE(frame, nullptr);
    for (UINT id : {ID_CMD_VIEW, ID_CMD_DOC, ID_CMD_FRAME, ID_CMD_APP, ID_CMD_NOBODY})
        frame->PostMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    EXPECT_TRUE(PumpUntil([] { return g_record.handled.size() >= 4; }));
    PumpPending();
    EXPECT_EQ(g_record.handled, (std::vector<std::string>{"view", "document", "frame", "app"}));

    // An accelerator key of the frame becomes its command.
    g_record.handled.clear();
    frame->GetActiveView()->PostMessage(WM_KEYDOWN, VK_F7, 0);
    EXPECT_TRUE(app.PumpMessage());
    PumpPending();
    EXPECT_EQ(g_record.handled, (std::vector<std::string>{"accelerator"}));
}

TEST_F(DocViewTest, OpeningMenuAndIdleTimeRunTheUpdateHandlers) {
    CDocApp app;
    app.AddTestTemplate();
    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    CTestFrame* frame = app.Frame();
    ASSERT_NE(frame, nullptr);
    CMenu* popup = frame->GetMenu()->GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    const HMENU popupHandle = popup->m_hMenu;
    auto grayed = [popupHandle](UINT id) {
        return (GetMenuState(popupHandle, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    for (bool barEnabled : {false, true}) {
        SCOPED_TRACE(barEnabled);
        g_record.barEnabled = barEnabled;
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popupHandle), MAKELPARAM(0, FALSE));
        EXPECT_FALSE(grayed(ID_CMD_VIEW));  // enabled by the view's update handler
        EXPECT_FALSE(grayed(ID_CMD_DOC));   // handled, so enabled
        EXPECT_TRUE(grayed(ID_CMD_NOBODY)); // nobody handles it
        EXPECT_EQ(grayed(ID_CMD_BAR), !barEnabled);

        app.OnIdle(0);
        EXPECT_EQ(frame->m_bar.m_button.IsWindowEnabled() != FALSE, barEnabled);
    }
    // Without automatic enabling an item nobody handles keeps its state.
    frame->m_bAutoMenuEnable = FALSE;
    EnableMenuItem(popupHandle, ID_CMD_NOBODY, MF_BYCOMMAND | MF_ENABLED);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popupHandle), MAKELPARAM(0, FALSE));
    EXPECT_FALSE(grayed(ID_CMD_NOBODY));
}

TEST_F(DocViewTest, AClickMakesTheViewItsFramesActiveView) {
    CDocApp app;
    app.AddTestTemplate();
    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    CTestFrame* frame = app.Frame();
    ASSERT_NE(frame, nullptr);
    CView* view = frame->GetActiveView();
    ASSERT_NE(view, nullptr);
    frame->SetActiveView(nullptr);
    EXPECT_EQ(frame->GetActiveDocument(), nullptr);
    // Without an active view the document no longer gets commands.
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_CMD_DOC, 0), 0);
    EXPECT_TRUE(g_record.handled.empty());

    view->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame->m_hWnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(frame->GetActiveView(), view);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_CMD_DOC, 0), 0);
    EXPECT_EQ(g_record.handled, (std::vector<std::string>{"document"}));
}

// Forwards every operation to the manager it replaced and notes each call.
class CRecordingDocManager : public CDocManager {
public:
    explicit CRecordingDocManager(CDocManager* inner) : m_inner(inner) {}
    ~CRecordingDocManager() override { delete m_inner; }
    std::vector<std::string> calls;

    void AddDocTemplate(CDocTemplate* pTemplate) override {
        calls.push_back("AddDocTemplate");
        m_inner->AddDocTemplate(pTemplate);
    }
    POSITION GetFirstDocTemplatePosition() const override { return m_inner->GetFirstDocTemplatePosition(); }
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const override { return m_inner->GetNextDocTemplate(pos); }
    CDocument* OpenDocumentFile(LPCWSTR lpszFileName) override {
        calls.push_back("OpenDocumentFile");
        return m_inner->OpenDocumentFile(lpszFileName);
    }
    BOOL SaveAllModified() override {
        calls.push_back("SaveAllModified");
        return m_inner->SaveAllModified();
    }
    void CloseAllDocuments(BOOL bEndSession) override {
        calls.push_back(bEndSession ? "CloseAllDocuments(TRUE)" : "CloseAllDocuments(FALSE)");
        m_inner->CloseAllDocuments(bEndSession);
    }
    int GetOpenDocumentCount() override { return m_inner->GetOpenDocumentCount(); }
    void OnFileNew() override {
        calls.push_back("OnFileNew");
        m_inner->OnFileNew();
    }

private:
    CDocManager* m_inner;
};

TEST_F(DocViewTest, ClosingTheMainFrameClosesTheDocumentsThroughTheManager) {
    CDocApp app;
    app.AddTestTemplate();
    EXPECT_EQ(app.m_pDocManager->GetOpenDocumentCount(), 0);
    auto* recorder = new CRecordingDocManager(app.m_pDocManager);
    app.m_pDocManager = recorder;  // the application deletes it

    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    ASSERT_NE(app.Frame(), nullptr);
    app.Frame()->PostMessage(WM_CLOSE);
    {
        LoopWatchdog watchdog(10000);
        app.Run();
        EXPECT_FALSE(watchdog.Fired());
    }
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"OnFileNew", "CloseAllDocuments(FALSE)"}));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(g_record.framesDeleted, 1);
    EXPECT_EQ(g_record.viewsDeleted, 1);
    EXPECT_EQ(g_record.docsDeleted, 1);
}

TEST_F(DocViewTest, AModifiedDocumentAsksBeforeItsFrameCloses) {
    CDocApp app;
    app.AddTestTemplate();
    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    CDocument* document = app.Frame()->GetActiveDocument();
    ASSERT_NE(document, nullptr);
    document->SetModifiedFlag(TRUE);
    {
        // Cancel keeps everything.
        MessageBoxAnswer answer(IDCANCEL);
        app.Frame()->SendMessage(WM_CLOSE);
        EXPECT_EQ(answer.Count(), 1);
        EXPECT_NE(answer.Text().find(L"TestDoc"), std::wstring::npos);
        EXPECT_NE(app.m_pMainWnd, nullptr);
        EXPECT_EQ(g_record.docsDeleted, 0);
    }
    {
        // No closes without saving.
        MessageBoxAnswer answer(IDNO);
        app.m_pMainWnd->SendMessage(WM_CLOSE);
        EXPECT_EQ(answer.Count(), 1);
        EXPECT_EQ(app.m_pMainWnd, nullptr);
        EXPECT_EQ(g_record.docsDeleted, 1);
    }
}

// Answers the file dialogs of the document manager.
struct FileDialogAnswer {
    static std::wstring& Path() {
        static std::wstring path;
        return path;
    }
    static std::wstring& Filter() {
        static std::wstring filter;
        return filter;
    }
    static BOOL Answer(OPENFILENAMEW* ofn, BOOL) {
        Filter() = ofn->lpstrFilter ? ofn->lpstrFilter : L"";
        if (Path().empty())
            return FALSE;  // cancelled
        wcsncpy(ofn->lpstrFile, Path().c_str(), ofn->nMaxFile - 1);
        return TRUE;
    }
};

TEST_F(DocViewTest, TheManagerOpensFilesAskedForOrNamedByTheShell) {
    Testing::TempFolder folder;
    const std::wstring file = folder.WriteFile(L"asked.tst", "x");
    CDocApp app;
    app.AddTestTemplate();
    AfxFileDialogHandler previous = AfxSetFileDialogHandler(&FileDialogAnswer::Answer);
    FileDialogAnswer::Path().clear();
    app.OnFileOpen();
    EXPECT_EQ(FileDialogAnswer::Filter(), L"Test Files (*.tst)");  // up to the first separator
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(g_record.docsMade, 0);

    FileDialogAnswer::Path() = file;
    app.OnFileOpen();
    AfxSetFileDialogHandler(previous);
    ASSERT_NE(app.Frame(), nullptr);
    CDocument* document = app.Frame()->GetActiveDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(std::wstring(document->GetPathName()), file);

    // The shell's open command for a file that is open already shows its document.
    std::wstring command = L"[open(\"" + file + L"\")]";
    EXPECT_TRUE(app.m_pDocManager->OnDDECommand(&command[0]));
    EXPECT_EQ(app.m_pDocManager->OpenDocumentFile(file.c_str()), document);
    EXPECT_EQ(g_record.docsMade, 1);
    std::wstring unknown = L"[print(\"" + file + L"\")]";
    EXPECT_FALSE(app.m_pDocManager->OnDDECommand(&unknown[0]));
}

TEST_F(DocViewTest, ShellFileTypesAreRegisteredForTheUserAndRemoved) {
    CDocApp app;
    app.AddTestTemplate();
    auto value = [](const wchar_t* key) {
        wchar_t text[512] = {};
        DWORD bytes = sizeof(text) - sizeof(wchar_t);
        const std::wstring path = std::wstring(L"Software\\Classes\\") + key;
        if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text, &bytes) !=
            ERROR_SUCCESS)
            return std::wstring(L"<none>");
        return std::wstring(text);
    };
    app.m_pDocManager->RegisterShellFileTypes(TRUE);
    EXPECT_EQ(value(L".tst"), L"Brunlow.TestDoc");
    EXPECT_EQ(value(L"Brunlow.TestDoc"), L"Test Document");
    EXPECT_NE(value(L"Brunlow.TestDoc\\shell\\open\\command").find(L"\"%1\""), std::wstring::npos);
    app.m_pDocManager->UnregisterShellFileTypes();
    EXPECT_EQ(value(L".tst"), L"<none>");
    EXPECT_EQ(value(L"Brunlow.TestDoc"), L"<none>");
}

}  // namespace
