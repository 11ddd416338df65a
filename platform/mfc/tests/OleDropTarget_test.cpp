// Files dropped on a view through OLE: the drop target registered for the
// view calls its drag operations with the dragged data. No drag between
// windows can be driven without input, so the tests call the target's
// IDropTarget as OLE would.
#include "afxole.h"
#include "afxwin.h"

#include "MfcTestResources.h"
#include "MfcTestSupport.h"
#include "testing/HDropData.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

using namespace MfcTests;
using Testing::HDropData;

namespace {

struct DropRecord {
    std::vector<std::string> calls;
    std::vector<std::wstring> dropped;
    DROPEFFECT dropEffect = DROPEFFECT_NONE;
};
DropRecord g_drop;

// The paths of the CF_HDROP data, read as a program reads them.
std::vector<std::wstring> DroppedFiles(COleDataObject* data) {
    std::vector<std::wstring> files;
    HGLOBAL global = data->GetGlobalData(CF_HDROP);
    if (!global)
        return files;
    HDROP drop = static_cast<HDROP>(global);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        wchar_t path[1024] = {};
        if (DragQueryFileW(drop, i, path, 1024))
            files.push_back(path);
    }
    GlobalFree(global);
    return files;
}

class CDropDoc : public CDocument {
    DECLARE_DYNCREATE(CDropDoc)
};
IMPLEMENT_DYNCREATE(CDropDoc, CDocument)

// Accepts a drag of two files as a copy.
class CDropView : public CView {
    DECLARE_DYNCREATE(CDropView)
public:
    void OnDraw(CDC*) override {}
    DROPEFFECT OnDragEnter(COleDataObject* data, DWORD, CPoint) override {
        g_drop.calls.push_back("enter");
        return DroppedFiles(data).size() == 2 ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragOver(COleDataObject* data, DWORD, CPoint) override {
        g_drop.calls.push_back("over");
        return DroppedFiles(data).size() == 2 ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    void OnDragLeave() override { g_drop.calls.push_back("leave"); }
    BOOL OnDrop(COleDataObject* data, DROPEFFECT dropEffect, CPoint) override {
        g_drop.calls.push_back("drop");
        g_drop.dropped = DroppedFiles(data);
        g_drop.dropEffect = dropEffect;
        return TRUE;
    }
};
IMPLEMENT_DYNCREATE(CDropView, CView)

// A drop target that OLE may hold but never calls here.
class SpareTarget : public IDropTarget {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return E_NOTIMPL; }
};

class OleDropTargetTest : public testing::Test {
protected:
    void SetUp() override {
        g_drop = DropRecord();
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        app.AddDocTemplate(new CSingleDocTemplate(IDR_TESTFRAME, RUNTIME_CLASS(CDropDoc), RUNTIME_CLASS(CFrameWnd),
                                                  RUNTIME_CLASS(CDropView)));
        CCommandLineInfo info;
        ASSERT_TRUE(app.ProcessShellCommand(info));
        view = app.MainFrame()->GetActiveView();
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override {
        if (app.m_pMainWnd)
            app.m_pMainWnd->DestroyWindow();
        OleUninitialize();
    }

    CTemplateTestApp app{L"Drop Test"};
    CView* view = nullptr;
    const std::vector<std::wstring> paths = {L"C:\\videos\\clip one.flv", L"C:\\videos\\clip two.mp4"};
};

TEST_F(OleDropTargetTest, RegistersTheWindowOnceAndRevokesItWithTheWindow) {
    COleDropTarget target;
    ASSERT_TRUE(target.Register(view));
    EXPECT_EQ(target.m_hWnd, view->m_hWnd);
    EXPECT_EQ(view->m_pDropTarget, &target);
    SpareTarget spare;
    EXPECT_EQ(RegisterDragDrop(view->m_hWnd, &spare), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_FALSE(target.Register(view));

    app.m_pMainWnd->DestroyWindow();
    EXPECT_EQ(target.m_hWnd, nullptr);
}

TEST_F(OleDropTargetTest, TheViewsDragOperationsSeeTheDroppedFiles) {
    COleDropTarget target;
    ASSERT_TRUE(target.Register(view));
    auto* dropTarget = static_cast<IDropTarget*>(target.GetInterface(&IID_IDropTarget));
    ASSERT_NE(dropTarget, nullptr);
    EXPECT_EQ(target.GetInterface(&IID_IDataObject), nullptr);

    for (bool keepsMediums : {true, false}) {
        SCOPED_TRACE(keepsMediums ? "source keeps its mediums" : "source hands its mediums over");
        g_drop = DropRecord();
        HDropData data(paths, keepsMediums);
        POINTL point = {10, 10};
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(dropTarget->DragEnter(&data, 0, point, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
        // The target holds the data while the drag is under way.
        EXPECT_EQ(data.References(), 2u);
        effect = DROPEFFECT_COPY;
        EXPECT_EQ(dropTarget->DragOver(0, point, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
        // A source that allows no copy gets no effect.
        effect = DROPEFFECT_MOVE;
        EXPECT_EQ(dropTarget->DragOver(0, point, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
        effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
        EXPECT_EQ(dropTarget->Drop(&data, 0, point, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
        EXPECT_EQ(data.References(), 1u);

        EXPECT_EQ(g_drop.calls, (std::vector<std::string>{"enter", "over", "over", "over", "drop"}));
        EXPECT_EQ(g_drop.dropped, paths);
        EXPECT_EQ(g_drop.dropEffect, static_cast<DROPEFFECT>(DROPEFFECT_COPY));
        if (keepsMediums) {
            EXPECT_EQ(data.released, data.handedOut);
        }
    }

    // A drag that leaves reaches the view and lets the data go.
    g_drop = DropRecord();
    HDropData data(paths, true);
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(dropTarget->DragEnter(&data, 0, POINTL{1, 1}, &effect), S_OK);
    EXPECT_EQ(dropTarget->DragLeave(), S_OK);
    EXPECT_EQ(data.References(), 1u);
    EXPECT_EQ(g_drop.calls, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(OleDropTargetTest, EveryMediumIsReleasedOnceOverAThousandDrops) {
    COleDropTarget target;
    ASSERT_TRUE(target.Register(view));
    auto* dropTarget = static_cast<IDropTarget*>(target.GetInterface(&IID_IDropTarget));
    ASSERT_NE(dropTarget, nullptr);
    HDropData data(paths, true);
    int copies = 0;
    for (int i = 0; i < 1000; ++i) {
        DWORD effect = DROPEFFECT_COPY;
        dropTarget->DragEnter(&data, 0, POINTL{5, 5}, &effect);
        effect = DROPEFFECT_COPY;
        dropTarget->Drop(&data, 0, POINTL{5, 5}, &effect);
        copies += effect == DROPEFFECT_COPY;
    }
    EXPECT_EQ(copies, 1000);
    EXPECT_GE(data.handedOut, 3000);
    EXPECT_EQ(data.released, data.handedOut);
    EXPECT_EQ(data.References(), 1u);
}

TEST(COleDataObject, GivesGlobalDataTheCallerOwns) {
    const std::vector<std::wstring> paths = {L"C:\\a.flv"};
    for (bool keepsMediums : {true, false}) {
        SCOPED_TRACE(keepsMediums);
        HDropData data(paths, keepsMediums);
        {
            COleDataObject object;
            object.Attach(&data, FALSE);
            EXPECT_TRUE(object.IsDataAvailable(CF_HDROP));
            EXPECT_FALSE(object.IsDataAvailable(CF_TEXT));
            EXPECT_EQ(object.GetGlobalData(CF_TEXT), nullptr);
            HGLOBAL first = object.GetGlobalData(CF_HDROP);
            HGLOBAL second = object.GetGlobalData(CF_HDROP);
            ASSERT_NE(first, nullptr);
            EXPECT_NE(first, second);
            EXPECT_EQ(DragQueryFileW(static_cast<HDROP>(first), 0xFFFFFFFF, nullptr, 0), 1u);
            // Each is the caller's to free.
            EXPECT_EQ(GlobalFree(first), nullptr);
            EXPECT_EQ(GlobalFree(second), nullptr);
            STGMEDIUM medium = {};
            ASSERT_TRUE(object.GetData(CF_HDROP, &medium));
            EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
            ReleaseStgMedium(&medium);
            EXPECT_EQ(object.Detach(), &data);
            EXPECT_FALSE(object.IsDataAvailable(CF_HDROP));
        }
        if (keepsMediums) {
            EXPECT_EQ(data.released, data.handedOut);
        }
        EXPECT_EQ(data.References(), 1u);
    }
    // An object attached with auto-release gives its reference back.
    HDropData data(paths, false);
    data.AddRef();
    {
        COleDataObject object;
        object.Attach(&data);
    }
    EXPECT_EQ(data.References(), 1u);
}

}  // namespace
