// The view's reactions to the engine's events: a caught video becomes a row,
// its bar moves, it ends with a status and a next-action button and may go on
// to conversion by itself; and the list's colours of the engine's state.
#include "downloads/view/BrunlowView.h"
#include "downloads/view/ItemTexts.h"
#include "downloads/view/ViewServices.h"

#include "downloads/app/AppAccess.h"
#include "downloads/engine/ItemLocker.h"
#include "downloads/resources/DownloadsResources.h"
#include "downloads/settings/Settings.h"
#include "foundation/debugging/Log.h"
#include "foundation/errors/Checks.h"
#include "foundation/errors/ReportingObject.h"
#include "resources/appresources/ResourceManagerHolder.h"

#include <boost/make_shared.hpp>

#include <exception>
#include <string>

using KavennaEngine::IDownloadItem;
using KavennaEngine::ItemLocker;

using ViewServices::DebugMode;
using ViewServices::LanguageString;
using ViewServices::MenuTextAsLabel;

namespace {

const CBrunlowView::QueueEntry& EntryOf(WPARAM wParam) {
    return *reinterpret_cast<const CBrunlowView::QueueEntry*>(wParam);
}

// The registered string named by the result, else the result's own text.
std::wstring ResultMessage(const KavennaEngine::Result& result) {
    if (!result.messageName.empty()) {
        const boost::shared_ptr<AppResources::Manager> manager = AppResources::ResourceManagerHolder::GetManager();
        if (const boost::shared_ptr<ResourceLib::IManager> pManager =
                manager ? manager->GetResourceLibManager() : boost::shared_ptr<ResourceLib::IManager>())
            return pManager->GetStringByName(result.messageName.c_str());
    }
    return result.text;
}

void ReportAssertion(const char* checkText) {
    const ErrorHandling::ErrorCode code(E_FAIL);
    Reporting::GetModuleReportingObject().ReportAssertion(checkText, &code);
}

void ReportWarning(const char* checkText) {
    const ErrorHandling::ErrorCode code(E_FAIL);
    Reporting::GetModuleReportingObject().ReportWarning(checkText, &code);
}

void ReportError(const char* checkText) {
    const ErrorHandling::ErrorCode code(E_FAIL);
    Reporting::GetModuleReportingObject().ReportError(checkText, &code);
}

// The row's name for the log.
std::wstring Describe(const CBrunlowView::RowPtr& pRow) {
    return pRow ? L": " + pRow->GetNameText() : std::wstring();
}

void TraceFailure(const char* format, const char* what) {
    const std::string narrow(what ? what : "");
    const std::wstring wide(narrow.begin(), narrow.end());
    char text[512];
    _snprintf_s(text, _TRUNCATE, format, static_cast<int>(E_FAIL), wide.c_str());
    ::OutputDebugStringA(text);
}

template <class Handler>
void RunWithTrace(const char* format, Handler handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        TraceFailure(format, e.what());
    } catch (...) {
        TraceFailure(format, "");
    }
}

}  // namespace

LRESULT CBrunlowView::OnProcessingStartedMessage(WPARAM wParam, LPARAM /*lParam*/) {
    RunWithTrace("CBrunlowView::OnProcessingStartedMessage: failed with exception code %d: %ws\n", [&] {
        const QueueEntry& entry = EntryOf(wParam);
        const int existing = FindRowByItem(entry.item);
        if (existing < 0) {
            std::wstring name;
            {
                ItemLocker locker;
                const boost::shared_ptr<IDownloadItem> _$_pengItem = entry.item.Lock(locker);
                if (!_$_pengItem) {
                    ReportAssertion("((_$_pengItem))");
                    return;
                }
                if (KavennaEngine::IDownloadStage* pStage = _$_pengItem->GetDownloadStage()) {
                    name = pStage->GetDisplayName();
                    if (name.empty())
                        name = pStage->GetAlternateName();
                }
            }
            const RowPtr pItem = boost::make_shared<DownloadListItem>(entry.item);
            const int index = InsertRow(0, name.c_str(), pItem);
            if (index < 0) {
                ReportError("((index >= 0))");
                return;
            }
            const bool progress = pItem->CreateProgress(this, GetProgressRect(index), 0, 100, 1, true);
            if (!progress)
                ReportWarning("((pItem->CreateProgress(this,rect)))");
            CFont font;
            const bool fontMade = font.CreateFontW(15, 0, 0, 0, 200, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial") != FALSE;
            if (!fontMade)
                ReportWarning("((font.CreateFontW(15,0,0,0,200,0,0,0,0,0,0,0,0,L\"Arial\")))");
            const bool button = pItem->CreateButton(L"", this, GetButtonRect(index), kRowButtonCommand, &font,
                                                    IDB_ROW_STOP, IDB_ROW_STOP, true);
            if (!button)
                ReportWarning("((pItem->CreateButton(L\"\",this,rect,1028,font,159,159)))");
            if (pItem->IsProgressCreated() && pItem->IsButtonCreated()) {
                pItem->SetButtonTooltip(MenuTextAsLabel(AppResources::StringID_PopupStop).c_str());
                pItem->SetButtonKey(static_cast<LONG_PTR>(GetRowKey(pItem.get())));
                DEBUG_LOG(Debugging::LevelDBG, L"Starting processing" + Describe(pItem));
            }
            return;
        }
        const RowPtr pItem = GetRow(existing);
        if (!pItem) {
            ReportError("((pItem))");
            return;
        }
        m_rows[existing].lastPercent = 0;
        // The last run's status and details would stand beside the new
        // run's bar; the progress reports fill the cells again.
        _ClearRowStatus(existing);
        if (pItem->IsProgressCreated() && pItem->IsButtonCreated()) {
            pItem->SetFinished(false);
            pItem->SetPos(0);
            pItem->InvalidateProgress();
            pItem->SetButtonBitmaps(IDB_ROW_STOP, IDB_ROW_STOP);
            pItem->InvalidateButton();
        }
        if (pItem->IsButtonCreated())
            pItem->SetButtonTooltip(MenuTextAsLabel(AppResources::StringID_PopupStop).c_str());
        // Bar and stop button back in the row's cell while the run lasts.
        _PlaceRowControls(existing);
        UpdateCommandFlags();
        DEBUG_LOG(Debugging::LevelDBG, L"Starting processing" + Describe(pItem));
    });
    return 0;
}

void CBrunlowView::_ClearRowStatus(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_rows.size())
        return;
    CListCtrl& list = GetListCtrl();
    const int columns = list.GetHeaderCtrl() ? list.GetHeaderCtrl()->GetItemCount() : ColumnAdditionalInfo + 1;
    for (int column = ColumnProgress; column < columns; ++column) {
        if (!list.GetItemText(index, column).IsEmpty())
            list.SetItemText(index, column, L"");
    }
    m_rows[index].lastInfoText.clear();
}

LRESULT CBrunlowView::OnProcessingProgressMessage(WPARAM wParam, LPARAM /*lParam*/) {
    RunWithTrace("CBrunlowView::OnProcessingProgressMessage: failed with exception code %d: %ws\n", [&] {
        const QueueEntry& entry = EntryOf(wParam);
        const int index = FindRowByItem(entry.item);
        const RowPtr pItem = GetRow(index);
        if (!pItem || !pItem->IsProgressCreated() || !pItem->IsButtonCreated())
            return;
        // What the row shows, read in one lock period; the cells are set
        // after it, each only when its text changed.
        ItemTexts::ProgressValues values;
        if (!ItemTexts::ReadProgressValues(pItem->GetItem(), values)) {
            // A gone item reads as nothing known: the bar runs without an
            // end, and the lock for the stage fails.
            ItemTexts::ReportItemGone();
            pItem->SetMarquee(true, 200);
            ReportAssertion("((_$_pengItem))");
            return;
        }
        RowRecord& record = m_rows[index];
        CListCtrl& list = GetListCtrl();
        pItem->SetMarquee(ItemTexts::IsProgressUnknown(values), 200);
        if (!values.name.empty() && values.name != record.lastNameText) {
            record.lastNameText = values.name;
            // The row was inserted with its name: the first progress
            // usually finds it there already.
            if (list.GetItemText(index, ColumnVideoFile).GetString() != values.name)
                list.SetItemText(index, ColumnVideoFile, values.name.c_str());
        }
        const unsigned percent =
            ItemTexts::ProgressPercent(values.position, values.duration, values.received, values.total);
        if (percent > record.lastPercent) {
            // Within one run the bar only rises.
            record.lastPercent = percent;
            pItem->SetPos(static_cast<int>(percent));
            pItem->InvalidateProgress();
        }
        if (values.stage == KavennaEngine::StageDeploy) {
            list.SetItemText(index, ColumnDownloadInfo, LanguageString(AppResources::StringID_CopyingToIPod).c_str());
        } else {
            const std::wstring info = ItemTexts::DownloadInfoText(values);
            if (info != record.lastInfoText) {
                record.lastInfoText = info;
                list.SetItemText(index, ColumnDownloadInfo, info.c_str());
            }
        }
        if (DebugMode())
            list.SetItemText(index, ColumnAdditionalInfo, pItem->GetSpeedText().c_str());
        // Last: its dialog lets other drains run, which may move `index` and `record`.
        _ReviewRow(pItem);
    });
    return 0;
}

LRESULT CBrunlowView::OnProcessingFinishedMessage(WPARAM wParam, LPARAM /*lParam*/) {
    const QueueEntry& entry = EntryOf(wParam);
    int index = FindRowByItem(entry.item);
    if (index < 0)
        return 0;
    KavennaEngine::Result result;
    {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> _$_p_engItemPreliminary = entry.item.Lock(locker);
        if (!_$_p_engItemPreliminary) {
            ReportError("((_$_p_engItemPreliminary))");
            return 0;
        }
        if (const KavennaEngine::Result* pResult = _$_p_engItemPreliminary->GetResult())
            result = *pResult;
    }
    if (result.code == KavennaEngine::ResultDeleted) {
        const RowPtr pGone = GetRow(index);
        const std::wstring description = Describe(pGone);
        RemoveRow(index);
        if (const boost::shared_ptr<KavennaEngine::IEngine> pEngine = Brunlow::AppAccess::GetKavennaEngine())
            pEngine->DropItem(entry.item);
        DEBUG_LOG(Debugging::LevelDBG, L"Processing finished and item deleted" + description);
        return 0;
    }
    const RowPtr pItem = GetRow(index);
    if (!pItem) {
        ReportAssertion("((pItem))");
        return 0;
    }
    if (pItem->IsFinished())
        return 0;
    if (pItem->IsProgressCreated() && pItem->IsButtonCreated()) {
        pItem->SetFinished(true);
        pItem->ShowProgress(false);
    }
    // Both questions lock the item themselves: asked before this handler does.
    const bool canGoOn = CanProcessItemFurther(pItem);
    const bool reDownload = ShouldReDownloadItem(pItem);
    pItem->SetNextStep(canGoOn || reDownload);
    pItem->ShowButton(canGoOn || reDownload);
    const bool sizeDetails =
        result.code == KavennaEngine::ResultComplete || result.code == KavennaEngine::ResultStopped;
    const std::wstring sizeText = sizeDetails ? pItem->GetFileSizeText() : std::wstring();

    CListCtrl& list = GetListCtrl();
    bool convert = false;
    {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> _$_pengItem = pItem->GetItem().Lock(locker);
        if (!_$_pengItem) {
            ReportAssertion("((_$_pengItem))");
            return 0;
        }
        KavennaEngine::IDownloadStage* pStage = _$_pengItem->GetDownloadStage();
        const int stage = _$_pengItem->GetStage();
        std::wstring status;
        if (stage == KavennaEngine::StageDeploy) {
            status = ResultMessage(result);
        } else {
            if (stage == KavennaEngine::StageDownload)
                status = LanguageString(pStage && pStage->IsImport() ? AppResources::StringID_Import_
                                                                     : AppResources::StringID_Download_);
            else if (stage == KavennaEngine::StageConversion)
                status = LanguageString(AppResources::StringID_Conversion_);
            // The download's whole file speaks for the download only: a
            // conversion that failed after it did not finish.
            const bool complete = stage == KavennaEngine::StageDownload && pStage && pStage->IsComplete();
            if (result.code == KavennaEngine::ResultComplete || result.code == KavennaEngine::ResultFinished ||
                complete)
                status += LanguageString(AppResources::StringID__Finished);
            else if (result.code == KavennaEngine::ResultStopped)
                status += LanguageString(AppResources::StringID__Interrupted);
            else
                status += LanguageString(AppResources::StringID__Error);
        }
        list.SetItemText(index, ColumnProgress, status.c_str());

        std::wstring details;
        if (sizeDetails) {
            details = LanguageString(AppResources::StringID_SizeDetails);
            const size_t placeholder = details.find(L"{0}");
            if (placeholder != std::wstring::npos)
                details.replace(placeholder, 3, sizeText);
        } else {
            details = ResultMessage(result);
        }
        list.SetItemText(index, ColumnDownloadInfo, details.c_str());
        m_rows[index].lastInfoText = details;
        if (DebugMode())
            list.SetItemText(index, ColumnAdditionalInfo, L"");
    }
    {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> _$_pengItem = pItem->GetItem().Lock(locker);
        if (!_$_pengItem) {
            ReportAssertion("((_$_pengItem))");
            return 0;
        }
        int notedStage = 0;
        if (canGoOn) {
            notedStage = _$_pengItem->GetStage();
            _$_pengItem->AdvanceStage();
        }
        const int stage = _$_pengItem->GetStage();
        const bool stageChanged = notedStage != stage;
        std::wstring tooltip;
        if (reDownload) {
            pItem->SetButtonBitmaps(IDB_ROW_REDOWNLOAD, IDB_ROW_REDOWNLOAD);
            tooltip = MenuTextAsLabel(AppResources::StringID_PopupReDownload);
        } else if (stage == KavennaEngine::StageConversion) {
            pItem->SetButtonBitmaps(IDB_ROW_CONVERT, IDB_ROW_CONVERT);
            tooltip = MenuTextAsLabel(AppResources::StringID_PopupConvert);
        } else if (stage == KavennaEngine::StageDeploy) {
            pItem->SetButtonBitmaps(IDB_ROW_COPY, IDB_ROW_COPY);
            tooltip = MenuTextAsLabel(AppResources::StringID_PopupCopyToIPod);
        }
        pItem->SetButtonTooltip(tooltip.c_str());
        pItem->InvalidateButton();
        Settings* pSettings = Brunlow::AppAccess::GetSettings();
        convert = stage == KavennaEngine::StageConversion && stageChanged && pSettings &&
                  pSettings->GetAutomaticConversion() && notedStage != KavennaEngine::StageDeploy;
    }
    // In the row's cell now, as every later paint shows it.
    _PlaceRowControls(_IndexOfRow(pItem));
    if (convert)
        ConvertItem(pItem);
    else
        UpdateCommandFlags();
    DEBUG_LOG(Debugging::LevelDBG, L"Processing finished" + Describe(pItem));
    return 0;
}

LRESULT CBrunlowView::OnDuplicateFoundMessage(WPARAM wParam, LPARAM /*lParam*/) {
    if (m_isEditingLabel)
        return 0;
    const QueueEntry& entry = EntryOf(wParam);
    {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> _$_pengItemOriginal = entry.item.Lock(locker);
        if (!_$_pengItemOriginal) {
            ReportError("((_$_pengItemOriginal))");
            return 0;
        }
        KavennaEngine::IDownloadStage* pStage = _$_pengItemOriginal->GetDownloadStage();
        if (pStage && pStage->IsRunning())
            return 0;
    }
    const int index = FindRowByItem(entry.item);
    if (index >= 0 && MoveRowToTop(index))
        DEBUG_LOG(Debugging::LevelDBG, L"Duplicate deleted" + Describe(GetRow(0)));
    return 0;
}

LRESULT CBrunlowView::OnEngineStateMessage(WPARAM wParam, LPARAM /*lParam*/) {
    const int state = static_cast<int>(wParam);
    const COLORREF background = state == 0   ? GetSkinColor(ColorOnBackground)
                                : state == 1 ? GetSkinColor(ColorOffBackground)
                                             : RGB(255, 255, 255);
    GetListCtrl().SetBkColor(background);
    // The text follows the engine's own state, not the message's.
    const boost::shared_ptr<KavennaEngine::IEngine> pEngine = Brunlow::AppAccess::GetKavennaEngine();
    const bool engineOn = pEngine && pEngine->GetState() == 0;
    const COLORREF text = GetSkinColor(engineOn ? ColorOnText : ColorOffText);
    SetColors(text, background);
    SetBackgroundColor(background);
    Invalidate(TRUE);
    return 0;
}
