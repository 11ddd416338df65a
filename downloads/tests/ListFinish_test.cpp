// How a row ends: the status and details a finished item's result gives, the
// next-action button and the conversion that may follow by itself; how the
// list starts a rename; and files dropped onto the list, which go to the
// engine. One view over the engine's stand-in items.
#include "downloads/view/BrunlowView.h"

#include "ListHost.h"
#include "testing/HDropData.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace KavennaEngine;
using DownloadsTests::ListHost;

namespace {

class FinishView : public CBrunlowView {
    DECLARE_DYNCREATE(FinishView)
public:
    static CRuntimeClass* Class() { return RUNTIME_CLASS(FinishView); }
    using CBrunlowView::OnBeginLabelEdit;
    void SetEditingLabel(bool editing) { m_isEditingLabel = editing; }
};
IMPLEMENT_DYNCREATE(FinishView, CBrunlowView)

// The text of the button's one tool.
std::wstring ButtonTooltip(CSkinButton& button) {
    if (!button.GetToolTip().GetSafeHwnd())
        return {};
    wchar_t text[256] = {};
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = button.GetSafeHwnd();
    tool.uId = CSkinButton::kTooltipId;
    tool.lpszText = text;
    button.GetToolTip().SendMessage(TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    return text;
}

class ListFinishTest : public DownloadsTests::ListHostTest<FinishView> {
protected:
    // The call-log names ("AdvanceStage", ...) of the item's calls, in order.
    std::vector<std::wstring> CallsOf(const DownloadItemHandle& item) {
        const std::wstring tag = L" item=" + std::to_wstring(item.m_pRaw) + L" ";
        std::vector<std::wstring> calls;
        for (const std::wstring& line : door->GetCallLog()) {
            if (line.find(tag) != std::wstring::npos)
                calls.push_back(line.substr(0, line.find(L' ')));
        }
        return calls;
    }
    std::vector<std::wstring> AddedFiles() {
        std::vector<std::wstring> files;
        for (const std::wstring& line : s_listHost->engine.Calls(L"AddFile ")) {
            std::wstring path = line.substr(8);
            const size_t item = path.rfind(L" item=");
            if (item != std::wstring::npos)
                path.resize(item);
            files.push_back(path);
        }
        return files;
    }

};

TEST_F(ListFinishTest, StatusAndDetailsComeFromTheResult) {
    Testing::TempFolder folder;
    const std::wstring twoMegabytes = folder.WriteFile(L"clip.flv", std::string(2097152, 'v'));
    const struct {
        const char* name;
        int stage;
        int code;
        const wchar_t* messageName;
        const wchar_t* text;
        const wchar_t* status;
        const wchar_t* details;  // null: the size details
        bool complete;           // the download before the stage was whole
    } cases[] = {
        {"web download finished", StageDownload, ResultComplete, L"", L"", L"Download finished", nullptr},
        {"download failed, message by name", StageDownload, ResultTransferFailed, L"PlayerFull", L"not this",
         L"Download failed", L"The player is full"},
        {"download failed, message as text", StageDownload, ResultTransferFailed, L"", L"The server answered 500.",
         L"Download failed", L"The server answered 500."},
        {"not repeatable", StageDownload, ResultNotRepeatable, L"", L"Gone for good", L"Download failed",
         L"Gone for good"},
        {"conversion interrupted", StageConversion, ResultStopped, L"", L"not this", L"Conversion interrupted",
         nullptr},
        {"copy finished: the status is the message", StageDeploy, ResultComplete, L"PlayerFull", L"",
         L"The player is full", nullptr},
        {"copy failed: the text", StageDeploy, ResultTransferFailed, L"", L"No player found", L"No player found",
         L"No player found"},
        // A conversion ends as its own result says, whatever the download before it.
        {"conversion failed after a whole download", StageConversion, ResultTransferFailed, L"",
         L"The file is missing.", L"Conversion failed", L"The file is missing.", true},
        {"conversion stopped after a whole download", StageConversion, ResultStopped, L"", L"",
         L"Conversion interrupted", nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestDoor::ItemSpec spec;
        spec.stage = c.stage;
        spec.resultCode = c.code;
        spec.resultMessageName = c.messageName;
        spec.resultText = c.text;
        spec.downloadCode = c.stage == StageDownload ? c.code : ResultComplete;
        spec.complete = c.complete;
        spec.filePath = twoMegabytes;
        const DownloadItemHandle item = Add(spec);
        Started(item);
        Finished(item);
        EXPECT_EQ(Text(0, 1), c.status);
        EXPECT_EQ(Text(0, 2), c.details ? std::wstring(c.details) : std::wstring(L"Size: 2.0 MB"));
    }
}

TEST_F(ListFinishTest, NextActionButtonAndAutomaticConversion) {
    Testing::TempFolder folder;
    const std::wstring downloaded = folder.WriteFile(L"clip.flv", "FLV video");
    const struct {
        const char* name;
        int stage;
        int downloadCode;
        bool complete;
        bool automatic;
        std::vector<std::wstring> calls;  // the item's commands from the finish on
        UINT bitmap;
        const wchar_t* tooltip;
        bool shown;
    } cases[] = {
        {"download done, automatic conversion on", StageDownload, ResultComplete, true, true,
         {L"AdvanceStage", L"ConversionStage::Start"}, 160, L"Convert now", true},
        {"download done, automatic conversion off", StageDownload, ResultComplete, true, false,
         {L"AdvanceStage"}, 160, L"Convert now", true},
        {"download failed: nothing to go on with", StageDownload, ResultTransferFailed, false, true,
         {}, 159, L"", false},
        {"conversion done: the copy is offered", StageConversion, ResultComplete, true, true,
         {L"AdvanceStage"}, 161, L"Copy to player", true},
        {"conversion of a failed download: download again", StageConversion, ResultTransferFailed, false, true,
         {L"AdvanceStage"}, 167, L"Download again", true},
        {"conversion of a download not to be repeated: download again", StageConversion, ResultNotRepeatable,
         false, false, {L"AdvanceStage"}, 167, L"Download again", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        s_listHost->settings->SetAutomaticConversion(c.automatic);
        TestDoor::ItemSpec spec;
        spec.stage = c.stage;
        spec.downloadCode = c.downloadCode;
        spec.complete = c.complete;
        spec.filePath = downloaded;
        const DownloadItemHandle item = Add(spec);
        Started(item);
        const CBrunlowView::RowPtr row = view->GetRow(0);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->GetButtonBitmap(), 159u);
        EXPECT_EQ(ButtonTooltip(row->GetButton()), L"Stop or continue");
        door->ClearCallLog();
        Finished(item);
        std::vector<std::wstring> calls = CallsOf(item);
        // Questions and events (the conversion's own run reports later) left out.
        calls.erase(std::remove_if(calls.begin(), calls.end(),
                                   [](const std::wstring& call) {
                                       return call == L"CanProcessItemFurther" || call.rfind(L"On", 0) == 0;
                                   }),
                    calls.end());
        const std::vector<std::wstring>& expected = c.calls;
        EXPECT_EQ(calls, expected);
        EXPECT_EQ(row->GetButtonBitmap(), c.bitmap);
        EXPECT_EQ(ButtonTooltip(row->GetButton()), c.tooltip);
        EXPECT_EQ(row->IsButtonShown(), c.shown);
        EXPECT_EQ(row->GetButton().IsWindowVisible() != FALSE, c.shown);
        EXPECT_FALSE(row->IsProgressShown());
    }
}

TEST_F(ListFinishTest, ARenameStartsOnlyOnARow) {
    Started(Add({}));
    for (int index : {0, 1, -1}) {
        SCOPED_TRACE(index);
        view->SetEditingLabel(false);
        NMLVDISPINFOW info = {};
        info.hdr.hwndFrom = view->m_hWnd;
        info.hdr.code = LVN_BEGINLABELEDITW;
        info.item.iItem = index;
        LRESULT result = -1;
        view->OnBeginLabelEdit(&info.hdr, &result);
        EXPECT_EQ(result, index == 0 ? FALSE : TRUE);
        EXPECT_EQ(view->IsEditingLabel(), index == 0);
    }
    // The list's own edit box asks the same question through the parent.
    view->SetEditingLabel(false);
    view->SetFocus();
    CEdit* edit = view->GetListCtrl().EditLabel(0);
    EXPECT_NE(edit, nullptr);
    EXPECT_TRUE(view->IsEditingLabel());
    view->SendMessage(LVM_CANCELEDITLABEL);
}

TEST_F(ListFinishTest, DroppedFilesGoToTheEngineWholeInOrderUnfiltered) {
    Testing::TempFolder folder;
    const std::wstring longFolder = folder.Path() + L"\\" + std::wstring(1500 - folder.Path().size() - 10, L'd');
    const std::wstring longName = longFolder + L"\\clip.flv";
    ASSERT_EQ(longName.size(), 1500u);
    const struct {
        const char* name;
        std::vector<std::wstring> files;
        DROPEFFECT effect;
    } cases[] = {
        {"one video", {folder.Path() + L"\\clip.flv"}, DROPEFFECT_COPY},
        {"notes alone", {folder.Path() + L"\\notes.txt"}, DROPEFFECT_NONE},
        {"notes with a video", {folder.Path() + L"\\notes.txt", folder.Path() + L"\\CLIP.Mp4"}, DROPEFFECT_COPY},
        {"a name of 1,500 characters", {longName}, DROPEFFECT_COPY},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Testing::HDropData data(c.files, false);
        COleDataObject object;
        object.Attach(&data, FALSE);
        EXPECT_EQ(view->OnDragEnter(&object, 0, CPoint(5, 5)), c.effect);
        EXPECT_EQ(view->OnDragOver(&object, 0, CPoint(6, 6)), c.effect);
        door->ClearCallLog();
        // The list answers as the control view does; the engine reports the items.
        EXPECT_EQ(view->OnDrop(&object, DROPEFFECT_COPY, CPoint(6, 6)),
                  static_cast<CView*>(view)->CView::OnDrop(&object, DROPEFFECT_COPY, CPoint(6, 6)));
        EXPECT_EQ(AddedFiles(), c.files);
        object.Detach();
    }
}

}  // namespace
