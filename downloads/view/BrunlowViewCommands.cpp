// The item commands of the download list: the context menu and its
// per-selection rules, removing rows, the stop/continue toggle, deleting a
// row's files, downloading again, starting a rename, the keyboard and the
// engine switch.
#include "downloads/view/BrunlowView.h"
#include "downloads/view/ViewServices.h"

#include "downloads/app/AppAccess.h"
#include "downloads/engine/EngineAdapter.h"
#include "downloads/engine/ItemLocker.h"
#include "downloads/resources/DownloadsResources.h"
#include "downloads/settings/Settings.h"
#include "downloads/view/ItemTexts.h"
#include "foundation/debugging/LogLevel.h"
#include "foundation/debugging/WriteLog.h"
#include "foundation/errors/Checks.h"
#include "foundation/errors/ErrorException.h"
#include "foundation/errors/GuiHandlerGuard.h"
#include "foundation/filesystem/File.h"
#include "resources/appresources/ResourceManagerHolder.h"

#include <iterator>

using KavennaEngine::DownloadItemHandle;
using KavennaEngine::IDownloadItem;
using KavennaEngine::ItemLocker;

using ViewServices::LanguageString;

namespace {

void LogDebug(const wchar_t* tag, const wchar_t* text) {
    Debugging::WriteLog(Debugging::GetLog(), text, tag, Debugging::LevelDBG, 0);
}

// Every item of the context menu with the language string that names it.
const struct {
    UINT command;
    int stringId;
} kPopupTexts[] = {
    {32787, AppResources::StringID_PopupReDownload},    {32781, AppResources::StringID_PopupWatchDownloaded},
    {32784, AppResources::StringID_PopupLocateDownloaded}, {32780, AppResources::StringID_PopupWatchConverted},
    {32785, AppResources::StringID_PopupLocateConverted}, {1030, AppResources::StringID_PopupStop},
    {1032, AppResources::StringID_PopupConvert},        {32783, AppResources::StringID_PopupCopyToIPod},
    {32777, AppResources::StringID_PopupRename},        {32776, AppResources::StringID_PopupRemove},
    {32779, AppResources::StringID_PopupDelete},
};

// A file of a removed row; one that is not there (any more) counts as deleted.
bool DeleteItemFile(const std::wstring& path) {
    if (path.empty())
        return true;
    if (Engine::EngineAdapter::Instance().DeleteFile(path.c_str()))
        return true;
    return !FileSystem::File(path).Exists();
}

}  // namespace

void CBrunlowView::RaiseFailedCheck(const char* checkText) {
    const ErrorHandling::ErrorCode code(E_FAIL);
    Reporting::GetModuleReportingObject().ReportAssertion(checkText, &code);
    // A sink that lets the assertion pass must not let the command go on
    // with nothing.
    ErrorHandling::ErrorException exception;
    exception << checkText;
    throw exception;
}

boost::shared_ptr<IDownloadItem> CBrunlowView::LockRow(const RowPtr& pItem, ItemLocker& locker) {
    if (!pItem)
        RaiseFailedCheck("((pItem))");
    boost::shared_ptr<IDownloadItem> pEngineItem = pItem->GetItem().Lock(locker);
    if (!pEngineItem)
        RaiseFailedCheck("((_$_pengItem))");
    return pEngineItem;
}

void CBrunlowView::GetSelectedItems(std::vector<int>& selection) {
    selection.clear();
    int from = -1;
    for (;;) {
        const int next = static_cast<int>(SendMessage(LVM_GETNEXTITEM, from, MAKELPARAM(LVNI_SELECTED, 0)));
        if (next == -1 || next == from)
            break;
        selection.push_back(next);
        from = next;
    }
}

template <class Test>
bool CBrunlowView::_AnySelectedRow(const std::vector<int>& selection, Test test) {
    for (const int index : selection) {
        try {
            const RowPtr pItem = GetRow(index);
            if (test(pItem))
                return true;
        } catch (...) {
            // The row does not qualify; the next one may.
        }
    }
    return false;
}

bool CBrunlowView::AnyItemCanBeRedownloaded(const std::vector<int>& selection) {
    return _AnySelectedRow(selection, [this](const RowPtr& pItem) {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> pEngineItem = LockRow(pItem, locker);
        KavennaEngine::IDownloadStage* pStage = pEngineItem->GetDownloadStage();
        if (pStage->IsComplete())
            return false;
        const int code = pStage->GetResult()->code;
        return code != KavennaEngine::ResultComplete && code != KavennaEngine::ResultDeleted &&
               code != KavennaEngine::ResultNotRepeatable;
    });
}

bool CBrunlowView::IsAnyItemDownloaded(const std::vector<int>& selection, bool allowUnknown) {
    return _AnySelectedRow(selection, [this, allowUnknown](const RowPtr& pItem) {
        {
            ItemLocker locker;
            LockRow(pItem, locker);  // a gone item does not qualify
        }
        return pItem->IsFinished() || (allowUnknown && pItem->IsProgressUnknown());
    });
}

bool CBrunlowView::IsAnyItemConverted(const std::vector<int>& selection) {
    return _AnySelectedRow(selection, [this](const RowPtr& pItem) {
        std::wstring path;
        {
            ItemLocker locker;
            const boost::shared_ptr<IDownloadItem> pEngineItem = LockRow(pItem, locker);
            if (!pItem->IsFinished())
                return false;
            path = pEngineItem->GetConversionStage()->GetFilePath();
        }
        return FileSystem::File(path).Exists();
    });
}

bool CBrunlowView::IsAnyItemReadyToConvert(const std::vector<int>& selection) {
    return _AnySelectedRow(selection, [this](const RowPtr& pItem) {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> pEngineItem = LockRow(pItem, locker);
        const int stage = pEngineItem->GetStage();
        return pItem->IsFinished() && (stage == KavennaEngine::StageConversion || stage == KavennaEngine::StageDeploy) &&
               Brunlow::AppAccess::GetKavennaEngine()->CanProcessItemFurther(pEngineItem.get());
    });
}

bool CBrunlowView::IsAnyItemReadyToDeploy(const std::vector<int>& selection) {
    return _AnySelectedRow(selection, [this](const RowPtr& pItem) {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> pEngineItem = LockRow(pItem, locker);
        return pItem->IsFinished() && pEngineItem->GetStage() == KavennaEngine::StageDeploy;
    });
}

bool CBrunlowView::IsAnyItemUnfinished(const std::vector<int>& selection) {
    return _AnySelectedRow(selection, [this](const RowPtr& pItem) {
        ItemLocker locker;
        LockRow(pItem, locker);
        return !pItem->IsFinished();
    });
}

bool CBrunlowView::ShouldReDownloadItem(const RowPtr& pItem) {
    try {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> pEngineItem = LockRow(pItem, locker);
        if (pEngineItem->GetStage() != KavennaEngine::StageConversion)
            return false;
        const int code = pEngineItem->GetDownloadStage()->GetResult()->code;
        return code != KavennaEngine::ResultComplete && code != KavennaEngine::ResultFinished &&
               code != KavennaEngine::ResultStopped;
    } catch (...) {
        return false;
    }
}

void CBrunlowView::OnContextMenu(CWnd* /*pWnd*/, CPoint pos) {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnContextMenu"), [&] {
        if (GetListCtrl().GetSelectedCount() == 0)
            return;
        CMenu menu;
        CHECK_ASSERT(menu.LoadMenu(IDR_LIST_POPUP));
        CMenu* pPopup = menu.GetSubMenu(0);
        CHECK_ASSERT(pPopup);
        std::vector<int> selection;
        GetSelectedItems(selection);
        const bool several = selection.size() > 1;
        const auto remove = [pPopup](UINT command) { pPopup->RemoveMenu(command, MF_BYCOMMAND); };
        if (several)
            remove(32777);
        if (!AnyItemCanBeRedownloaded(selection))
            remove(32787);
        if (several || !IsAnyItemDownloaded(selection, true)) {
            remove(32781);
            remove(32784);
        }
        if (several || !IsAnyItemConverted(selection)) {
            remove(32780);
            remove(32785);
        }
        if (!IsAnyItemReadyToConvert(selection))
            remove(1032);
        if (!IsAnyItemReadyToDeploy(selection))
            remove(32783);
        if (!IsAnyItemUnfinished(selection))
            remove(1030);
        for (const auto& item : kPopupTexts) {
            if (pPopup->GetMenuState(item.command, MF_BYCOMMAND) != static_cast<UINT>(-1))
                pPopup->ModifyMenu(item.command, MF_BYCOMMAND | MF_STRING, item.command,
                                   LanguageString(item.stringId).c_str());
        }
        pPopup->TrackPopupMenu(0, pos.x, pos.y, this);
    });
}

void CBrunlowView::OnCancel() {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnCancel"), [&] {
        if (m_isEditingLabel)
            return;
        std::vector<int> selection;
        GetSelectedItems(selection);
        std::vector<DownloadItemHandle> items;
        for (const int index : selection) {
            if (const RowPtr pItem = GetRow(index))
                items.push_back(pItem->GetItem());
        }
        for (const DownloadItemHandle& item : items) {
            try {
                // The row leaves the list before its item is stopped.
                const int index = FindRowByItem(item);
                if (index >= 0)
                    RemoveRow(index);
                boost::shared_ptr<IDownloadItem> pEngineItem;
                {
                    ItemLocker locker;
                    pEngineItem = item.Lock(locker);
                    if (!pEngineItem)
                        RaiseFailedCheck("((_$_pengItem))");
                }
                LogDebug(L"CBrunlowView::OnCancel@", L"stopping processing");
                pEngineItem->Stop();
                Brunlow::AppAccess::GetKavennaEngine()->DropItem(item);
            } catch (...) {
                // The row stays out; the next item is still ended.
            }
        }
    });
}

void CBrunlowView::OnStageDownload(const RowPtr& pRow) {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnStageDownload"), [&] {
        if (!pRow)
            return;
        const DownloadItemHandle item = pRow->GetItem();
        boost::shared_ptr<IDownloadItem> pEngineItem;
        KavennaEngine::IDownloadStage* pStage = nullptr;
        {
            ItemLocker locker;
            pEngineItem = item.Lock(locker);
            if (!pEngineItem) {
                ItemTexts::ReportItemGone();
                return;
            }
            pStage = pEngineItem->GetDownloadStage();
        }
        if (FindRowByItem(item) == -1)
            return;
        if (pStage->IsRunning()) {
            LogDebug(L"CBrunlowView::OnStageDownload@", L"Stopping processing");
            pStage->Stop();
            return;
        }
        if (ShouldReDownloadItem(pRow)) {
            pStage->Start();
            return;
        }
        int stage = 0;
        {
            ItemLocker locker;
            pEngineItem = item.Lock(locker);
            if (!pEngineItem) {
                ItemTexts::ReportItemGone();
                return;
            }
            stage = pEngineItem->GetStage();
            // A stopped conversion goes on in the format set now.
            if (stage == KavennaEngine::StageConversion)
                pEngineItem->GetConversionStage()->SetOutputFormat(
                    Brunlow::AppAccess::GetSettings()->GetConversionOutputFormat());
        }
        if (stage == KavennaEngine::StageConversion && pEngineItem->GetConversionStage()->IsRunning()) {
            LogDebug(L"CBrunlowView::OnStageDownload@", L"Stopping to process item");
            pEngineItem->Stop();
        } else if (stage == KavennaEngine::StageDeploy && pEngineItem->GetDeployStage()->IsRunning()) {
            pEngineItem->Stop();
        } else {
            pEngineItem->Start();
        }
    });
}

std::vector<CBrunlowView::RowPtr> CBrunlowView::_SelectedRows() {
    std::vector<int> selection;
    GetSelectedItems(selection);
    std::vector<RowPtr> rows;
    for (const int index : selection)
        rows.push_back(GetRow(index));
    return rows;
}

void CBrunlowView::OnPopupStop() {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnPopupStop"), [&] {
        for (const RowPtr& pRow : _SelectedRows()) {
            if (pRow && !pRow->IsFinished())
                OnStageDownload(pRow);
        }
    });
}

BOOL CBrunlowView::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == kRowButtonCommand) {
        ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnCommand"), [&] {
            const LONG key = ::GetWindowLongW(reinterpret_cast<HWND>(lParam), GWL_USERDATA);
            OnStageDownload(FindRowByKey(static_cast<std::uintptr_t>(static_cast<ULONG>(key))));
        });
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

void CBrunlowView::OnPopupDeletefile() {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnPopupDeletefile"), [&] {
        // The rows would stay while their files went.
        if (m_isEditingLabel)
            return;
        const std::wstring title = LanguageString(AppResources::StringID_FileDeleteTitle);
        if (MessageBox(LanguageString(AppResources::StringID_FileDeleteText).c_str(), title.c_str(),
                       MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        std::vector<std::wstring> paths;
        for (const RowPtr& pRow : _SelectedRows()) {
            if (!pRow)
                continue;
            try {
                ItemLocker locker;
                const boost::shared_ptr<IDownloadItem> pEngineItem = LockRow(pRow, locker);
                KavennaEngine::IDownloadStage* pStage = pEngineItem->GetDownloadStage();
                paths.push_back(pStage->GetFilePath());
                paths.push_back(pStage->GetTempPath());
                // The converted copy is the row's file too: the user asked
                // for the video to go, not for one of its two files.
                if (KavennaEngine::IConversionStage* pConversion = pEngineItem->GetConversionStage())
                    paths.push_back(pConversion->GetFilePath());
            } catch (...) {
                // That row's files stay; the others are collected.
            }
        }
        OnCancel();
        std::wstring kept;
        for (const std::wstring& path : paths) {
            if (!DeleteItemFile(path)) {
                Debugging::WriteLog(Debugging::GetLog(), L"Cannot delete " + path,
                                    L"CBrunlowView::OnPopupDeletefile@", Debugging::LevelERR, 0);
                kept += L"\n" + path;
            }
        }
        // Otherwise the user would believe the video gone while it stays on
        // disk; the files are named so that they can be found.
        if (!kept.empty())
            MessageBox((LanguageString(AppResources::StringID_FileInUseText) + L"\n" + kept).c_str(), title.c_str(),
                       MB_OK | MB_ICONWARNING);
    });
}

void CBrunlowView::OnPopupRedownload() {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnPopupRedownload"), [&] {
        for (const RowPtr& pRow : _SelectedRows()) {
            if (!pRow)
                continue;
            try {
                boost::shared_ptr<IDownloadItem> pEngineItem;
                {
                    ItemLocker locker;
                    pEngineItem = LockRow(pRow, locker);
                }
                pEngineItem->GetDownloadStage()->Start();
            } catch (...) {
                // The next row is still restarted.
            }
        }
    });
}

void CBrunlowView::OnPopupRename() {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnPopupRename"), [&] {
        std::vector<int> selection;
        GetSelectedItems(selection);
        if (selection.size() == 1)
            SendMessage(LVM_EDITLABELW, selection[0], 0);
    });
}

void CBrunlowView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnKeyDown"), [&] {
        const bool control = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
        const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
        if (nChar == 'A' && control) {
            CListCtrl& list = GetListCtrl();
            for (size_t index = 0; index < m_rows.size(); ++index)
                list.SetItemState(static_cast<int>(index), LVIS_SELECTED, LVIS_SELECTED);
        } else if (nChar == VK_DELETE) {
            if (shift)
                OnPopupDeletefile();
            else
                OnCancel();
        }
    });
    QE806::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CBrunlowView::OnEngineOnOff() {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnEngineOnOff"), [&] {
        const boost::shared_ptr<KavennaEngine::IEngine> pEngine = Brunlow::AppAccess::GetKavennaEngine();
        if (!pEngine)
            return;
        const int state = pEngine->GetState();
        if (state == KavennaEngine::EngineOn)
            pEngine->SetState(KavennaEngine::EngineOff, nullptr);
        else if (state == KavennaEngine::EngineOff)
            pEngine->SetState(KavennaEngine::EngineOn, nullptr);
    });
}
