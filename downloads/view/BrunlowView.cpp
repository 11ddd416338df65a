#include "downloads/view/BrunlowView.h"

#include "downloads/app/AppAccess.h"
#include "downloads/engine/ItemLocker.h"
#include "downloads/settings/Settings.h"
#include "foundation/errors/ClassifiedExceptionsGuard.h"
#include "foundation/errors/GuiHandlerGuard.h"
#include "resources/appresources/ResourceManagerHolder.h"

#include <boost/make_shared.hpp>

#include <atomic>

IMPLEMENT_DYNCREATE(CBrunlowView, QE806)

// The base map is the toolkit list's: the template layers add no entries.
BEGIN_MESSAGE_MAP(CBrunlowView, QE806)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_COMMAND(1001, &CBrunlowView::OnEngineOnOff)
    ON_COMMAND(1038, &CBrunlowView::OnEngineOnOff)
    ON_COMMAND(1039, &CBrunlowView::OnEngineOnOff)
    ON_COMMAND(1002, &CBrunlowView::OnCancel)
    ON_UPDATE_COMMAND_UI(1002, &CBrunlowView::OnUpdateCancelDownload)
    ON_NOTIFY(HDN_DIVIDERDBLCLICKA, 0, &CBrunlowView::OnHeaderDividerDoubleClick)
    ON_NOTIFY(HDN_DIVIDERDBLCLICKW, 0, &CBrunlowView::OnHeaderDividerDoubleClick)
    ON_MESSAGE(CBrunlowView::kStartedMessage, &CBrunlowView::OnProcessingStartedMessage)
    ON_MESSAGE(CBrunlowView::kProgressMessage, &CBrunlowView::OnProcessingProgressMessage)
    ON_MESSAGE(CBrunlowView::kFinishedMessage, &CBrunlowView::OnProcessingFinishedMessage)
    ON_MESSAGE(CBrunlowView::kEngineStateMessage, &CBrunlowView::OnEngineStateMessage)
    ON_MESSAGE(CBrunlowView::kDuplicateMessage, &CBrunlowView::OnDuplicateFoundMessage)
    ON_NOTIFY_REFLECT(NM_DBLCLK, &CBrunlowView::OnNMDblclk)
    ON_COMMAND(1030, &CBrunlowView::OnPopupStop)
    ON_COMMAND(1032, &CBrunlowView::OnConvert)
    ON_COMMAND(32783, &CBrunlowView::OnPopupCopyToIpod)
    ON_COMMAND(32776, &CBrunlowView::OnCancel)
    ON_COMMAND(32787, &CBrunlowView::OnPopupRedownload)
    ON_COMMAND(32777, &CBrunlowView::OnPopupRename)
    ON_COMMAND(32779, &CBrunlowView::OnPopupDeletefile)
    ON_COMMAND(1031, &CBrunlowView::OnConvert)
    ON_COMMAND(32781, &CBrunlowView::OnWatchDownloaded)
    ON_COMMAND(32784, &CBrunlowView::OnLocateDownloaded)
    ON_COMMAND(32780, &CBrunlowView::OnWatchConverted)
    ON_COMMAND(32785, &CBrunlowView::OnLocateConverted)
    ON_WM_CONTEXTMENU()
    ON_WM_ERASEBKGND()
    ON_NOTIFY_REFLECT(LVN_BEGINLABELEDITW, &CBrunlowView::OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDITW, &CBrunlowView::OnLvnEndlabeledit)
    ON_COMMAND(1026, &CBrunlowView::OnPreviousTip)
    ON_COMMAND(1027, &CBrunlowView::OnNextTip)
    ON_COMMAND(1061, &CBrunlowView::OnTipLink)
    ON_UPDATE_COMMAND_UI(1031, &CBrunlowView::OnUpdateConvert)
    ON_WM_KEYDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_NCCALCSIZE()
    ON_WM_TIMER()
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, &CBrunlowView::OnItemChanged)
END_MESSAGE_MAP()

namespace {

std::atomic<CBrunlowView::ArmHook> g_armHook{nullptr};

boost::shared_ptr<ResourceLib::IManager> ResourceLibManager() {
    const boost::shared_ptr<AppResources::Manager> manager = AppResources::ResourceManagerHolder::GetManager();
    return manager ? manager->GetResourceLibManager() : boost::shared_ptr<ResourceLib::IManager>();
}

}  // namespace

CBrunlowView::CBrunlowView() {
    // The engine calls observers on its own threads: listed only once whole.
    SubscribeEngine();
    if (const boost::shared_ptr<ResourceLib::IManager> manager = ResourceLibManager())
        manager->Observers.Add(static_cast<ResourceLib::IManager::IObserver*>(this));
}

CBrunlowView::~CBrunlowView() {
    // The engine first: its threads use the queue (member 1), which goes
    // with the members below, before the base could unsubscribe.
    UnsubscribeEngine();
    if (const boost::shared_ptr<ResourceLib::IManager> manager = ResourceLibManager())
        manager->Observers.Remove(static_cast<ResourceLib::IManager::IObserver*>(this));
}

BOOL CBrunlowView::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style &= ~WS_BORDER;
    cs.style |= LVS_REPORT | LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER;
    if (!QE806::PreCreateWindow(cs))
        return FALSE;
    m_toolkitCreation = false;
    return TRUE;
}

void CBrunlowView::OnInitialUpdate() {
    QE806::OnInitialUpdate();
    static bool s_listSetUp = false;  // GUI thread; once per process
    if (!s_listSetUp) {
        s_listSetUp = true;
        _SetUpList();
    }
    CHECK_WARNING(m_dropTarget.Register(this));
    if (const boost::shared_ptr<KavennaEngine::IEngine> pEngine = Brunlow::AppAccess::GetKavennaEngine())
        OnEngineStateChanged(pEngine->GetState());
    _LayoutTipPanel();
    _UpdateTipPanelTexts();
    _SetUpTooltip();
}

void CBrunlowView::_SetUpList() {
    CListCtrl& list = GetListCtrl();
    const boost::shared_ptr<AppResources::Manager> resources = AppResources::ResourceManagerHolder::GetManager();
    struct Column {
        int stringId;
        int width;
    };
    const Column columns[] = {{AppResources::StringID_VideoFileColumn, 310},
                              {AppResources::StringID_ProgressColumn, 205},
                              {AppResources::StringID_DownloadInfoColumn, 185},
                              {AppResources::StringID_AdditionalInfoColumn, 150}};
    Settings* pSettings = Brunlow::AppAccess::GetSettings();
    const size_t count = pSettings && pSettings->GetDebugMode() ? 4 : 3;
    for (size_t i = 0; i < count; ++i) {
        const std::wstring title = resources ? resources->GetString(columns[i].stringId) : std::wstring();
        list.InsertColumn(static_cast<int>(i), title.c_str(), LVCFMT_LEFT, columns[i].width);
    }
    SetListOption(kListOptionNotify, TRUE);
    _SetUpImageList();

    LOGFONTW logFont = {};
    logFont.lfHeight = 18;
    logFont.lfWeight = 200;
    wcscpy_s(logFont.lfFaceName, L"Arial");
    m_listFont.CreateFontIndirect(&logFont);
    m_headerFont.CreateFontIndirect(&logFont);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_listFont.m_hObject), TRUE);
    if (CHeaderCtrl* header = list.GetHeaderCtrl())
        header->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_headerFont.m_hObject), TRUE);

    const boost::shared_ptr<MessageProcessor> pProcessor =
        boost::make_shared<MessageProcessor>(static_cast<IBrunlowViewSink*>(this));
    boost::shared_ptr<Queue> pQueue = boost::make_shared<
        SimpleRefiningItemListUpdater<KavennaEngine::DownloadItemHandle, MessageTypes, MessageProcessor>>(pProcessor);
    boost::atomic_store(&m_pQueue, pQueue);
}

void CBrunlowView::_SetUpTooltip() {
    if (!m_tooltip.m_hWnd && !m_tooltip.Create(this, TRUE))
        return;
    m_tooltip.SetNoAutoLookup(0);
    m_tooltip.SetBackgroundColors(0xFFFFFF, 0xFFF7F0, 0xD0C0C0);
    m_tooltip.SetShadow(2, 2, 50, TRUE, 7, 7);
    for (int index = 0; index < 4; ++index)
        m_tooltip.SetSizeParameter(index, 10);
}

BOOL CBrunlowView::PreTranslateMessage(MSG* pMsg) {
    if (m_tooltip.m_hWnd)
        m_tooltip.RelayEvent(pMsg);
    return QE806::PreTranslateMessage(pMsg);
}

boost::shared_ptr<CBrunlowView::Queue> CBrunlowView::GetQueue() const {
    return boost::atomic_load(&m_pQueue);
}

// Engine observer.

void CBrunlowView::OnEngineStateChanged(int state) {
    if (HWND window = m_hWnd)
        ::SendMessageW(window, kEngineStateMessage, static_cast<WPARAM>(state), 0);
}

void CBrunlowView::OnItemStarted(KavennaEngine::DownloadItemHandle item) {
    _PostAndArm(MessageTypes::Started(), item);
}

void CBrunlowView::OnItemProgress(KavennaEngine::DownloadItemHandle item) {
    _PostAndArm(MessageTypes::Progress(), item);
}

void CBrunlowView::OnItemFinished(KavennaEngine::DownloadItemHandle item) {
    _PostAndArm(MessageTypes::Finished(), item);
}

void CBrunlowView::OnDuplicateFound(KavennaEngine::DownloadItemHandle existingItem,
                                    KavennaEngine::DownloadItemHandle /*duplicateItem*/) {
    _PostAndArm(MessageTypes::Duplicate(), existingItem);
}

void CBrunlowView::_PostAndArm(MessageTypes message, const KavennaEngine::DownloadItemHandle& item) {
    if (const boost::shared_ptr<Queue> pQueue = GetQueue())
        pQueue->Post(message, item);
    ArmTimer();
}

void CBrunlowView::SetArmTimerHook(ArmHook hook) {
    g_armHook = hook;
}

void CBrunlowView::ArmTimer() {
    const auto arm = [this](int time) {
        if (const ArmHook hook = g_armHook.load())
            hook(this, time);
        CHECK_WARNING(time <= 100);
        const HWND window = m_hWnd;
        if (!window)
            return;
        if (time >= 0) {
            if (!m_queueTimerArmed.exchange(true))
                ::SetTimer(window, kQueueTimer, static_cast<UINT>(time), nullptr);
        } else {
            ::KillTimer(window, kQueueTimer);
            m_queueTimerArmed = false;
        }
    };
    if (const boost::shared_ptr<Queue> pQueue = GetQueue())
        pQueue->RunWithNextInterval(arm);
    else
        arm(-1);
}

void CBrunlowView::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kQueueTimer) {
        QE806::OnTimer(nIDEvent);
        return;
    }
    KillTimer(kQueueTimer);
    // Cleared before the drain: a post that still saw the timer armed is
    // drained now, a later one arms it again.
    m_queueTimerArmed = false;
    m_draining = true;
    if (const boost::shared_ptr<Queue> pQueue = GetQueue())
        pQueue->ProcessQueue();
    m_draining = false;
    if (m_layoutPending) {
        m_layoutPending = false;
        _LayoutRowControls(0);
    }
    if (m_redrawHeld) {
        m_redrawHeld = false;
        SetRedraw(TRUE);
        // The rows' controls too: made or moved while nothing was drawn.
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
}

void CBrunlowView::_HoldRedrawForDrain() {
    if (m_draining && !m_redrawHeld && m_hWnd) {
        m_redrawHeld = true;
        SetRedraw(FALSE);
    }
}

// Queue sink.

void CBrunlowView::OnProcessingStarted(const QueueEntry& entry) {
    ErrorHandling::ClassifiedExceptionsGuard(
        [&] { OnProcessingStartedMessage(reinterpret_cast<WPARAM>(&entry), 0); });
}

void CBrunlowView::OnProcessingProgress(const QueueEntry& entry) {
    ErrorHandling::ClassifiedExceptionsGuard(
        [&] { OnProcessingProgressMessage(reinterpret_cast<WPARAM>(&entry), 0); });
}

void CBrunlowView::OnProcessingFinished(const QueueEntry& entry) {
    ErrorHandling::ClassifiedExceptionsGuard(
        [&] { OnProcessingFinishedMessage(reinterpret_cast<WPARAM>(&entry), 0); });
}

void CBrunlowView::OnDuplicateFound(const QueueEntry& entry) {
    ErrorHandling::ClassifiedExceptionsGuard([&] { OnDuplicateFoundMessage(reinterpret_cast<WPARAM>(&entry), 0); });
}

// Resource observer.

void CBrunlowView::OnLanguageChanged(boost::shared_ptr<ResourceLib::IManager>,
                                     boost::shared_ptr<ResourceLib::ILanguage>,
                                     boost::shared_ptr<ResourceLib::ILanguage>) {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnLanguageChanged"),
                                 [&] { _UpdateTipPanelTexts(); });
}

void CBrunlowView::OnSkinChanged(boost::shared_ptr<ResourceLib::IManager>, boost::shared_ptr<ResourceLib::ISkin>,
                                 boost::shared_ptr<ResourceLib::ISkin>) {
    // The look follows the skin with the painting code.
}

// Selection and command enabling.

void CBrunlowView::OnItemChanged(NMHDR* /*pHeader*/, LRESULT* pResult) {
    if (pResult)
        *pResult = 0;
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnItemChanged"), [&] { UpdateCommandFlags(); });
}

void CBrunlowView::UpdateCommandFlags() {
    CListCtrl& list = GetListCtrl();
    m_canRemove = list.GetSelectedCount() > 0;
    if (!m_canRemove) {
        m_canConvert = false;
        return;
    }
    bool canConvert = true;
    POSITION position = list.GetFirstSelectedItemPosition();
    while (position && canConvert) {
        const RowPtr pItem = GetRow(list.GetNextSelectedItem(position));
        CHECK_ASSERT(pItem);
        if (!pItem) {
            canConvert = false;
            break;
        }
        KavennaEngine::ItemLocker locker;
        const boost::shared_ptr<KavennaEngine::IDownloadItem> _$_pengItem = pItem->GetItem().Lock(locker);
        CHECK_ASSERT(_$_pengItem);
        canConvert = _$_pengItem && pItem->IsFinished();
    }
    m_canConvert = canConvert;
}

void CBrunlowView::OnUpdateCancelDownload(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_canRemove && !m_isEditingLabel);
}

void CBrunlowView::OnUpdateConvert(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_canConvert && !m_isEditingLabel);
}

// Window messages of this view.

void CBrunlowView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    // Rows carry child windows and painted cells: all of it moves.
    Invalidate(FALSE);
    QE806::OnVScroll(nSBCode, nPos, pScrollBar);
    _ForgetHoverCell();
}

void CBrunlowView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    Invalidate(FALSE);
    QE806::OnHScroll(nSBCode, nPos, pScrollBar);
    _ForgetHoverCell();
}

void CBrunlowView::OnHeaderDividerDoubleClick(NMHDR* /*pHeader*/, LRESULT* pResult) {
    *pResult = 0;
    Invalidate(FALSE);
}

BOOL CBrunlowView::OnEraseBkgnd(CDC* /*pDC*/) {
    // The view paints its whole background itself.
    return FALSE;
}
