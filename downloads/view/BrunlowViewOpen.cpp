// Opening the files behind a row: playing the downloaded or converted video
// (the Extras first, offered when missing), showing it in its folder, the
// popup's watch and locate commands, the double click, and finding a row by
// its download's review text.
#include "downloads/view/BrunlowView.h"
#include "downloads/view/ViewServices.h"

#include "downloads/app/ViewHost.h"
#include "downloads/engine/ItemLocker.h"
#include "downloads/view/ItemTexts.h"
#include "appframework/interproduct/Product.h"
#include "appframework/product/ProductInfo.h"
#include "appframework/updates/ExtrasInstaller.h"
#include "foundation/errors/ErrorException.h"
#include "foundation/errors/GuiHandlerGuard.h"
#include "foundation/filesystem/File.h"
#include "foundation/strings/StringAlgorithms.h"
#include "foundation/system/ShellHelpers.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "skin/commongui/UserInput.h"

using KavennaEngine::IDownloadItem;
using KavennaEngine::ItemLocker;

using ViewServices::ExpandProductPlaceholders;
using ViewServices::IsConversionPending;
using ViewServices::LanguageString;

namespace {

// The Extras as the companion-product library knows them; empty when the
// product information or the library is missing.
boost::shared_ptr<InterProductLib::Product> FindExtras() {
    const ApplicationFramework::ProductInfo* pInfo = ApplicationFramework::ProductInfo::GetCurrent();
    if (!pInfo)
        return {};
    const boost::shared_ptr<InterProductLib::Manager> pManager = InterProductLib::CreateManager();
    if (!pManager)
        return {};
    const ApplicationFramework::ExtrasIdentity& identity = pInfo->GetExtrasIdentity();
    return pManager->GetProduct(
        {identity.productKey, identity.shortTitle, identity.bundleLongTitle, identity.bundleShortTitle});
}

bool IsGoodResult(const KavennaEngine::Result* pResult) {
    return pResult && (pResult->code == KavennaEngine::ResultComplete || pResult->code == KavennaEngine::ResultFinished);
}

bool FileExists(const std::wstring& path) {
    return !path.empty() && FileSystem::File(path).Exists();
}

}  // namespace

bool CBrunlowView::IsExtrasInstalled() {
    const boost::shared_ptr<InterProductLib::Product> pExtras = FindExtras();
    return pExtras && pExtras->IsInstalled();
}

bool CBrunlowView::PlayFile(const std::wstring& path) {
    if (!FileExists(path))
        return false;
    if (const boost::shared_ptr<InterProductLib::Product> pExtras = FindExtras()) {
        if (pExtras->Run(STLHelpers::Enquote(path, L'"')))
            return true;
    }
    return System::PlayMediaFile(path);
}

bool CBrunlowView::OpenItem(int index, bool converted, bool watch) {
    bool opened = false;
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OpenItem"), [&] {
        const RowPtr pRow = GetRow(index);
        if (!pRow)
            return;
        const bool extrasInstalled = IsExtrasInstalled();
        if (watch && !extrasInstalled && !ApplicationFramework::ExtrasInstaller::IsMegaCodecPackInstalled()) {
            ApplicationFramework::ExtrasInstaller& extras = ApplicationFramework::ExtrasInstaller::GetInstance();
            if (!extras.IsUpdaterRunning()) {
                Brunlow::IViewHost* pHost = Brunlow::ViewHost::Get();
                const INT_PTR answer =
                    pHost ? pHost->ShowExtrasRequest(this, ExpandProductPlaceholders(LanguageString(AppResources::StringID_ExtrasCancel)),
                                                     ExpandProductPlaceholders(LanguageString(AppResources::StringID_ExtrasOk)))
                          : IDCANCEL;
                if (answer == IDOK) {
                    const std::wstring language = AppResources::ResourceManagerHolder::GetManager()
                                                      ->GetResourceLibManager()
                                                      ->GetCurrentLanguageName();
                    extras.LaunchUpdater(language, true);
                    return;
                }
            } else if (MessageBox(LanguageString(AppResources::StringID_ExtrasInstallingOpenText).c_str(),
                                  LanguageString(AppResources::StringID_ExtrasInstallingOpenTitle).c_str(),
                                  MB_YESNO | MB_ICONQUESTION) != IDYES) {
                return;
            }
        }
        // A partly written file plays only in the Extras, unless the item
        // has neither a size nor a time yet (a live stream).
        if (!pRow->IsFinished() && !extrasInstalled && !ItemTexts::IsProgressUnknown(pRow->GetItem()))
            return;

        std::wstring path;
        {
            ItemLocker locker;
            const boost::shared_ptr<IDownloadItem> pEngineItem = LockRow(pRow, locker);
            KavennaEngine::IDownloadStage* pDownload = pEngineItem->GetDownloadStage();
            KavennaEngine::IConversionStage* pConversion = pEngineItem->GetConversionStage();
            const bool useConverted = converted && IsGoodResult(pConversion->GetResult());
            if (!pRow->IsFinished()) {
                if (watch) {
                    path = useConverted ? pConversion->GetTempPath() : pDownload->GetTempPath();
                    if (path.empty())
                        path = useConverted ? pDownload->GetTempPath() : pConversion->GetTempPath();
                }
            } else {
                path = useConverted ? pConversion->GetFilePath() : pDownload->GetFilePath();
                if (path.empty())
                    path = useConverted ? pDownload->GetFilePath() : pConversion->GetFilePath();
            }
        }
        if (path.empty())
            return;
        if (!watch) {
            opened = System::OpenFolderAndSelectFile(path);
            return;
        }
        if (PlayFile(path)) {
            opened = true;
            return;
        }
        std::wstring tempPath;
        {
            ItemLocker locker;
            tempPath = LockRow(pRow, locker)->GetDownloadStage()->GetTempPath();
        }
        opened = FileExists(tempPath) && PlayFile(tempPath);
    });
    return opened;
}

int CBrunlowView::FindItemByTempDownloadName(const std::wstring& name) {
    int found = -1;
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::FindItemByTempDownloadName"), [&] {
        for (size_t index = 0; index < m_rows.size(); ++index) {
            try {
                ItemLocker locker;
                const boost::shared_ptr<IDownloadItem> pEngineItem = LockRow(m_rows[index].pItem, locker);
                if (pEngineItem->GetDownloadStage()->GetReviewText() == name) {
                    found = static_cast<int>(index);
                    return;
                }
            } catch (const ErrorHandling::ErrorException&) {
                // A row whose item is gone (reported) is not the one; the next may be.
            }
        }
    });
    return found;
}

void CBrunlowView::_OpenSelectedRows(bool converted, bool watch) {
    // By row, not by index: the Extras offer is modal, and the queue's drain
    // adds and removes rows while it is open.
    for (const RowPtr& pRow : _SelectedRows()) {
        const int index = _IndexOfRow(pRow);
        if (index >= 0)
            OpenItem(index, converted, watch);
    }
}

void CBrunlowView::OnWatchDownloaded() {
    _OpenSelectedRows(false, true);
}

void CBrunlowView::OnLocateDownloaded() {
    _OpenSelectedRows(false, false);
}

void CBrunlowView::OnWatchConverted() {
    _OpenSelectedRows(true, true);
}

void CBrunlowView::OnLocateConverted() {
    _OpenSelectedRows(true, false);
}

void CBrunlowView::OnNMDblclk(NMHDR* /*pHeader*/, LRESULT* pResult) {
    *pResult = 0;
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnNMDblclk"), [&] {
        // The cursor through the skinned windows' input door, which tests
        // replace: they may not move the shared display's real cursor.
        CPoint point;
        if (!CommonGuiLib::Input().getCursorPos(&point))
            return;
        ScreenToClient(&point);
        LVHITTESTINFO hit = {};
        hit.pt = point;
        SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.iItem >= 0 && hit.iSubItem == ColumnProgress) {
            const RowPtr pRow = GetRow(hit.iItem);
            boost::shared_ptr<IDownloadItem> pEngineItem;
            bool convert = false;
            {
                ItemLocker locker;
                pEngineItem = LockRow(pRow, locker);
                convert = IsConversionPending(*pEngineItem);
            }
            // Asked without the lock: the test locks the item itself.
            if (ShouldReDownloadItem(pRow))
                pEngineItem->GetDownloadStage()->Start();
            else if (convert)
                ConvertItem(pRow);
            else
                OpenItem(hit.iItem, true, true);
            return;
        }
        const int index = GetListCtrl().HitTest(point);
        if (index >= 0)
            OpenItem(index, true, true);
    });
}
