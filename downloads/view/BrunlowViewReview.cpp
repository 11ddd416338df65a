// The stolen-video review: a download the engine marks for review is
// reviewed once, while it starts to arrive, by the skinned question or,
// when that is switched off, by a tray balloon that opens the video.
#include "downloads/view/BrunlowView.h"
#include "downloads/view/ViewServices.h"

#include "appframework/product/ProductInfo.h"
#include "downloads/app/AppAccess.h"
#include "downloads/app/ViewHost.h"
#include "downloads/engine/ItemLocker.h"
#include "downloads/settings/Settings.h"
#include "downloads/view/OpenVideoTrayAction.h"
#include "downloads/view/StolenVideoDialog.h"
#include "foundation/errors/GuiHandlerGuard.h"
#include "foundation/errors/ReportingObject.h"
#include "resources/appresources/ResourceManagerHolder.h"

#include <boost/make_shared.hpp>

using KavennaEngine::IDownloadItem;
using KavennaEngine::ItemLocker;

using ViewServices::ExpandProductPlaceholders;
using ViewServices::LanguageString;

void CBrunlowView::_ReviewRow(const RowPtr& pRow) {
    if (!pRow || pRow->IsReviewed())
        return;
    // Marked before asking: progress of the same item drained while the
    // dialog is open must not ask a second time.
    pRow->SetReviewed(true);
    pRow->SetReviewed(ReviewItem(pRow->GetItem()) != 0);
}

int CBrunlowView::ReviewItem(const KavennaEngine::DownloadItemHandle& item) {
    // A review that failed is not tried again at every progress report.
    int result = 1;
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::ReviewItem"),
                                 [&] { result = _ReviewItem(item); });
    return result;
}

int CBrunlowView::_ReviewItem(const KavennaEngine::DownloadItemHandle& item) {
    std::wstring name;
    {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> _$_pengItem = item.Lock(locker);
        if (!_$_pengItem) {
            const ErrorHandling::ErrorCode code(E_FAIL);
            Reporting::GetModuleReportingObject().ReportError("((_$_pengItem))", &code);
            return 0;
        }
        KavennaEngine::IDownloadStage* pStage = _$_pengItem->GetDownloadStage();
        const KavennaEngine::ReviewRecord* pRecord = pStage ? pStage->GetReviewRecord() : nullptr;
        if (!pRecord || pRecord->reviewFlag == 0)
            return 1;
        if (pStage->GetPosition() == 0 && pStage->GetReceivedBytes() == 0)
            return 0;
        name = pStage->GetReviewText();
    }

    // The main window brings the layout, the tray icon and the frame's
    // dialog handling; without it nobody can be asked.
    Brunlow::IViewHost* pHost = Brunlow::ViewHost::Get();
    CWnd* pMainWnd = AfxGetMainWnd();
    if (!pHost || !pMainWnd)
        return 1;
    const boost::shared_ptr<LayoutLib::IManager> layout = pHost->GetLayoutManager();
    Settings* pSettings = Brunlow::AppAccess::GetSettings();
    if (layout && pSettings && pSettings->IsShowDialogEnabled(Settings::kStolenVideoDialog)) {
        StolenVideoDialog dialog(layout, pMainWnd);
        const INT_PTR answer = pHost->RunDialog(dialog);
        // A skin without the dialog's window: the balloon below asks instead.
        if (dialog.IsLayoutLoaded()) {
            if (answer == IDOK && dialog.GetChoice() == StolenVideoDialog::ChoiceCaptureOff) {
                if (const boost::shared_ptr<KavennaEngine::IEngine> pEngine = Brunlow::AppAccess::GetKavennaEngine())
                    pEngine->SetState(KavennaEngine::EngineOff, nullptr);
            } else if (answer == IDOK && dialog.GetChoice() == StolenVideoDialog::ChoiceWatch) {
                OpenVideoTrayAction(this, name).PerformAction(0);
            }
            pSettings->SetShowDialog(Settings::kStolenVideoDialog, dialog.IsCheckBoxChecked());
            return 1;
        }
    }
    pHost->ShowTrayBalloon(ExpandProductPlaceholders(LanguageString(AppResources::StringID_StolenVideoTrayText)),
                           ExpandProductPlaceholders(LanguageString(AppResources::StringID_StolenVideoTrayTitle)), 1, 15,
                           boost::make_shared<OpenVideoTrayAction>(this, name), 0);
    return 1;
}
