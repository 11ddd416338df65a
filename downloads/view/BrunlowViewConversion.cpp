// Conversion and copy to the portable player: when a row's item may go on to
// its next stage, starting its conversion, and the copy's start and stop.
#include "downloads/view/BrunlowView.h"

#include "downloads/app/AppAccess.h"
#include "downloads/engine/ItemLocker.h"
#include "downloads/view/ItemTexts.h"
#include "foundation/errors/GuiHandlerGuard.h"

using KavennaEngine::IDownloadItem;
using KavennaEngine::ItemLocker;

bool CBrunlowView::CanProcessItemFurther(const RowPtr& pRow) {
    try {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> pEngineItem = LockRow(pRow, locker);
        switch (pEngineItem->GetStage()) {
        case KavennaEngine::StageDownload:
        case KavennaEngine::StageDeploy:
            return Brunlow::AppAccess::GetKavennaEngine()->CanProcessItemFurther(pEngineItem.get());
        case KavennaEngine::StageConversion:
            return true;
        default:
            return false;
        }
    } catch (...) {
        return false;
    }
}

void CBrunlowView::ConvertItem(const RowPtr& pRow) {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::ConvertItem"), [&] {
        if (!pRow || !pRow->IsFinished())
            return;
        boost::shared_ptr<IDownloadItem> pEngineItem;
        {
            ItemLocker locker;
            pEngineItem = pRow->GetItem().Lock(locker);
            if (!pEngineItem) {
                ItemTexts::ReportItemGone();
                return;
            }
            // Still downloading: nothing to convert yet.
            if (pEngineItem->GetStage() == KavennaEngine::StageDownload)
                return;
        }
        pEngineItem->GetConversionStage()->Start();
    });
}

void CBrunlowView::OnConvert() {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnConvert"), [&] {
        std::vector<int> selection;
        GetSelectedItems(selection);
        for (const int index : selection) {
            try {
                const RowPtr pRow = GetRow(index);
                boost::shared_ptr<IDownloadItem> pEngineItem;
                int stage = 0;
                {
                    ItemLocker locker;
                    pEngineItem = LockRow(pRow, locker);
                    stage = pEngineItem->GetStage();
                }
                if (pRow->IsFinished() && stage != KavennaEngine::StageDownload)
                    pEngineItem->GetConversionStage()->Start();
            } catch (...) {
                // The next selected row is still converted.
            }
        }
    });
}

void CBrunlowView::OnPopupCopyToIpod() {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnPopupCopyToIpod"), [&] {
        for (const RowPtr& pRow : _SelectedRows()) {
            if (!pRow)
                continue;
            try {
                ItemLocker locker;
                const boost::shared_ptr<IDownloadItem> pEngineItem = LockRow(pRow, locker);
                // The toggle locks the same item again on this thread.
                if (pRow->IsFinished() && pEngineItem->GetStage() == KavennaEngine::StageDeploy)
                    OnStageDownload(pRow);
            } catch (...) {
                // The next row is still handled.
            }
        }
    });
}
