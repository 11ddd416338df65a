#pragma once
// The download list: the single view of the single-document application, a
// report list in which every caught video is one row (name, progress bar with
// a stop button, download information and, in debug mode, additional
// information). It observes the engine and the resource manager and is the
// sink of its own event queue: engine threads post into the queue and arm
// timer 334, the GUI thread drains it.
//
// Threads: everything on the GUI thread, except the engine observer
// operations, which touch only the queue (through an atomic copy of its
// pointer) and the timer.
#include "downloads/engine/EngineSubscriber.h"
#include "downloads/view/DownloadListItem.h"
#include "downloads/view/ListLayers.h"
#include "downloads/view/ViewMessages.h"
#include "downloads/view/ViewTips.h"

#include "controls/label/TextLabel.h"
#include "controls/tooltip/MarkupToolTip.h"
#include "resources/resourcelib/IManager.h"
#include "toolkit/QE806.h"

#include "afxcmn.h"
#include "afxole.h"
#include "afxwin.h"

#include <shellapi.h>

#include <boost/shared_ptr.hpp>

#include <atomic>
#include <string>
#include <vector>

// Copies `bitmap` at its own size to (x, y) of `pDC`, `transparent` left out.
void DrawTransparentBitmap(HBITMAP bitmap, CDC* pDC, int x, int y, COLORREF transparent);
// Decodes the image file at `path` and hands its bitmap to `bitmap`; false
// (the bitmap left as it was) when the file cannot be read as a picture.
bool LoadBitmapFromFile(CBitmap& bitmap, const std::wstring& path);

class CBrunlowView : public ReportList<QE806>,
                     public Brunlow::EngineSubscriber<CBrunlowView>,
                     public ResourceLib::IManager::IObserver,
                     public IBrunlowViewSink {
    DECLARE_DYNCREATE(CBrunlowView)
public:
    using MessageTypes = BrunlowViewMessageTypes;
    using QueueEntry = BrunlowViewEntry;
    using Queue = IRefiningItemListUpdater<KavennaEngine::DownloadItemHandle, MessageTypes>;
    using RowPtr = boost::shared_ptr<DownloadListItem>;

    // The queue's executor: hands each entry to the view's sink by its type.
    class MessageProcessor {
    public:
        explicit MessageProcessor(IBrunlowViewSink* pSink) : m_pSink(pSink) {}
        // False without a sink and for an unknown type (logged).
        bool ProcessItem(const QueueEntry& entry);

    private:
        IBrunlowViewSink* m_pSink;
    };

    // One list row; the vector index equals the list item index.
    struct RowRecord {
        unsigned lastPercent = 0;
        RowPtr pItem;
        std::wstring lastInfoText;  // column 2
        std::wstring lastNameText;  // column 0
    };

    static constexpr UINT_PTR kQueueTimer = 334;
    static constexpr UINT kStartedMessage = WM_USER + 200;
    static constexpr UINT kProgressMessage = WM_USER + 201;
    static constexpr UINT kFinishedMessage = WM_USER + 202;
    static constexpr UINT kEngineStateMessage = WM_USER + 203;
    static constexpr UINT kDuplicateMessage = WM_USER + 204;
    // Exclusive-or of a row object's address: its list item parameter and
    // its stop button's user data.
    static constexpr std::uintptr_t kRowKeyMask = 0x12345678;

    // Columns.
    enum { ColumnVideoFile, ColumnProgress, ColumnDownloadInfo, ColumnAdditionalInfo };

    CBrunlowView();
    ~CBrunlowView() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Engine observer (engine threads).
    void OnEngineStateChanged(int state) override;
    void OnItemStarted(KavennaEngine::DownloadItemHandle item) override;
    void OnItemProgress(KavennaEngine::DownloadItemHandle item) override;
    void OnItemFinished(KavennaEngine::DownloadItemHandle item) override;
    void OnDuplicateFound(KavennaEngine::DownloadItemHandle existingItem,
                          KavennaEngine::DownloadItemHandle duplicateItem) override;

    // Queue sink (GUI thread): each runs its message handler in the standard
    // guard, so a failing handler never stops the drain.
    void OnProcessingStarted(const QueueEntry& entry) override;
    void OnProcessingProgress(const QueueEntry& entry) override;
    void OnProcessingFinished(const QueueEntry& entry) override;
    void OnDuplicateFound(const QueueEntry& entry) override;

    // Resource observer: language and skin switches.
    void OnLanguageChanged(boost::shared_ptr<ResourceLib::IManager> manager,
                           boost::shared_ptr<ResourceLib::ILanguage> previous,
                           boost::shared_ptr<ResourceLib::ILanguage> current) override;
    void OnSkinChanged(boost::shared_ptr<ResourceLib::IManager> manager, boost::shared_ptr<ResourceLib::ISkin> previous,
                       boost::shared_ptr<ResourceLib::ISkin> current) override;

    // Sets timer 334 to the queue's next interval, or kills it when nothing
    // is queued; decided under the queue's lock (any thread).
    void ArmTimer();

    // Rows.
    int FindRowByItem(const KavennaEngine::DownloadItemHandle& item) const;
    RowPtr FindRowByKey(std::uintptr_t key) const;
    RowPtr GetRow(int index) const;
    int InsertRow(int position, const wchar_t* text, const RowPtr& row);
    void RemoveRow(int index);
    bool MoveRowToTop(int index);
    CRect GetProgressRect(int index);
    CRect GetButtonRect(int index);
    static std::uintptr_t GetRowKey(const DownloadListItem* row);

    // The image of a row: its media kind's icon while downloading or once complete.
    static int GetRowIconIndex(const RowPtr& row);

    const std::vector<RowRecord>& GetRowRecords() const { return m_rows; }
    bool CanConvert() const { return m_canConvert; }
    bool CanRemove() const { return m_canRemove; }
    bool IsEditingLabel() const { return m_isEditingLabel; }
    boost::shared_ptr<Queue> GetQueue() const;

    // Item commands. The selection: list indices of the selected rows, top
    // to bottom. Each predicate is true when one selected row qualifies; a
    // row that cannot be tested (no row, item gone) does not.
    static constexpr UINT kRowButtonCommand = 1028;
    void GetSelectedItems(std::vector<int>& selection);
    bool AnyItemCanBeRedownloaded(const std::vector<int>& selection);
    bool IsAnyItemDownloaded(const std::vector<int>& selection, bool allowUnknown);
    bool IsAnyItemConverted(const std::vector<int>& selection);
    bool IsAnyItemReadyToConvert(const std::vector<int>& selection);
    bool IsAnyItemReadyToDeploy(const std::vector<int>& selection);
    bool IsAnyItemUnfinished(const std::vector<int>& selection);
    // Stage 1 after a download that did not end well; false on any failure.
    bool ShouldReDownloadItem(const RowPtr& pRow);
    // The stop/continue toggle of one row (its button, Stop Item, the copy).
    void OnStageDownload(const RowPtr& pRow);

    // Conversion and the copy to the player.
    bool CanProcessItemFurther(const RowPtr& pRow);
    void ConvertItem(const RowPtr& pRow);

    // Opening and locating. Plays (watch) or shows in its folder (!watch) the
    // row's converted file when `converted` and the conversion went well,
    // else its downloaded file; true when the player or the folder window
    // reported success. Offers the Extras first when playing without them.
    bool OpenItem(int index, bool converted, bool watch);
    // The Extras product of the same maker is installed.
    bool IsExtrasInstalled();
    // The Extras on the quoted path, else the system's player; false for a
    // file that is not there.
    bool PlayFile(const std::wstring& path);
    // Gives a name with no known media extension the first extension of
    // `kind` (of the table's first kind when unknown); true when it did.
    static bool AppendMediaExtension(std::wstring& name, int kind);
    // The first row whose download's review text equals `name` exactly; -1.
    int FindItemByTempDownloadName(const std::wstring& name);
    // A name the user may give an item: not empty, no path, no character
    // that Windows refuses in file names, not only dots.
    static bool IsValidItemName(const std::wstring& name);

    // The tooltip of a cell: what the item does and what a double click
    // does; empty for other columns and on failure.
    std::wstring GetTooltipTextForItem(CPoint point, UINT flags, int index, int column);
    // A row's cell in client coordinates as the list hit-tests it (the
    // first column without the others); empty for no such cell.
    CRect GetCellRect(int row, int column);

    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg void OnCancel();
    afx_msg void OnPopupStop();
    afx_msg void OnPopupDeletefile();
    afx_msg void OnPopupRedownload();
    afx_msg void OnPopupRename();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnEngineOnOff();
    afx_msg void OnConvert();
    afx_msg void OnPopupCopyToIpod();
    // A row button's command (1028) goes to its row; the others to MFC.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Dropped files: every name of the data object's CF_HDROP, in order
    // (cleared first; empty without such data). Names are read whole.
    static void GetDroppedFiles(COleDataObject* pDataObject, std::vector<std::wstring>& files);
    static void GetDroppedFiles(HDROP drop, std::vector<std::wstring>& files);
    // Copy when one name has a media extension and is no directory.
    static DROPEFFECT GetDropEffect(const std::vector<std::wstring>& files);
    DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    // Every name goes to the engine, unfiltered; the engine reports the items.
    BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;

    // The skin's list colours of the engine's on and off states: each key
    // read once per process, on first use, and kept.
    enum SkinColor {
        ColorOnBackground, ColorOffBackground, ColorOnText, ColorOffText,
        ColorOnHeading, ColorOffHeading, ColorOnHeadingShadow, ColorOffHeadingShadow,
        ColorOnLink, ColorOffLink, SkinColorCount
    };
    static COLORREF GetSkinColor(SkinColor color);
    // The colour's place in the style file, and the colour the program uses
    // when the file lacks it (the shipped style's own).
    static const wchar_t* GetSkinColorKey(SkinColor color);
    static COLORREF GetDefaultSkinColor(SkinColor color);
    // Picture, heading and comment of the empty list, on or off by the engine.
    void DrawEmptyListHeading(CDC* pDC);
    // The first column's width for a view `viewWidth` wide; -1 keeps it.
    static int GetFirstColumnWidth(int viewWidth, bool debugMode);

    // The tip panel of the empty list (its labels, ids and places).
    enum TipLabel { TipLabelPrevious, TipLabelNext, TipLabelReminder, TipLabelLink, TipLabelCount };
    static constexpr UINT kPreviousTipCommand = 1026;
    static constexpr UINT kNextTipCommand = 1027;
    static constexpr UINT kTipReminderId = 65535;
    static constexpr UINT kTipLinkCommand = 1061;
    // The tips for the whole run, handed over by the application once the
    // view exists; without them the panel finds no tips.
    void SetTips(const boost::shared_ptr<IViewTips>& pTips);
    // The tip below the empty list's heading, the labels shown or hidden.
    void DrawTipOfTheDay(CDC* pDC);

    // Test seam: runs between reading the queue's interval and arming the
    // timer, on the arming thread. Null for none.
    using ArmHook = void (*)(CBrunlowView* view, int interval);
    static void SetArmTimerHook(ArmHook hook);

    // The stolen-video review of one item: 1 when done (nothing to review,
    // or the user was asked by the dialog or a tray balloon), 0 when the item
    // has no data yet and is to be reviewed at a later progress report. The
    // dialog is modal: queue drains nest while it is open.
    int ReviewItem(const KavennaEngine::DownloadItemHandle& item);

protected:
    // The selection's command flags (the handler of LVN_ITEMCHANGED).
    void UpdateCommandFlags();

    // Tip panel: 120 pixels high above the view's bottom, a twelfth of the
    // width in from each side.
    CRect _GetTipPanelRect();
    // Creates the labels still missing and places all four.
    void _LayoutTipPanel();
    // Shows or hides the labels; the link and the reminder show only for a
    // tip with a web page.
    void _ShowTipPanel(bool show);
    // All four texts from the language and the current tip; repaints the view.
    void _UpdateTipPanelTexts();
    // The link's and the reminder's texts and visibility for the current tip.
    void _UpdateTipPanelForCurrentTip();
    // "ReminderText" shown "OfText" limit "." for a limited tip; else empty.
    std::wstring _GetReminderText();

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnUpdateCancelDownload(CCmdUI* pCmdUI);
    afx_msg void OnHeaderDividerDoubleClick(NMHDR* pHeader, LRESULT* pResult);
    afx_msg LRESULT OnProcessingStartedMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnProcessingProgressMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnProcessingFinishedMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEngineStateMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDuplicateFoundMessage(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNMDblclk(NMHDR* pHeader, LRESULT* pResult);
    afx_msg void OnWatchDownloaded();
    afx_msg void OnLocateDownloaded();
    afx_msg void OnWatchConverted();
    afx_msg void OnLocateConverted();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnBeginLabelEdit(NMHDR* pHeader, LRESULT* pResult);
    afx_msg void OnLvnEndlabeledit(NMHDR* pHeader, LRESULT* pResult);
    afx_msg void OnPreviousTip();
    afx_msg void OnNextTip();
    afx_msg void OnTipLink();
    afx_msg void OnUpdateConvert(CCmdUI* pCmdUI);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnItemChanged(NMHDR* pHeader, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    // 1. The event queue, empty until the first initial update. Engine
    //    threads read it through GetQueue (an atomic copy).
    boost::shared_ptr<Queue> m_pQueue;
    // 2.-3. The row images and the list's and header's fonts.
    CImageList m_images;
    CFont m_listFont;
    CFont m_headerFont;
    // 4. The tip panel's labels.
    CTextLabel m_tipLabels[4];
    // 5.
    COleDropTarget m_dropTarget;
    // 6. True while the user edits a row name.
    bool m_isEditingLabel = false;
    // 7.-8. The tooltip and the row and column under the mouse.
    CMarkupToolTip m_tooltip;
    int m_hoverRow = -1;
    int m_hoverColumn = -1;
    // 9. The tips of the day shown in the empty list; none until the
    //    application hands them over.
    boost::shared_ptr<IViewTips> m_pTips;
    // 10.
    std::vector<RowRecord> m_rows;
    // 11. Command enabling from the selection.
    bool m_canConvert = false;
    bool m_canRemove = false;

private:
    // Whether timer 334 is set. Every post since the last drain is due at
    // the same time (100 ms after that drain), so an armed timer is left
    // alone: setting it again would restart it, and posts coming faster than
    // its period would keep the queue from ever draining.
    std::atomic<bool> m_queueTimerArmed{false};
    // While the timer drains the queue; a drain that adds, moves or removes
    // rows holds the list's redrawing until it ends: a shown list view
    // scrolls its window for every row inserted above others.
    bool m_draining = false;
    bool m_redrawHeld = false;
    // Rows were added, moved or removed during the drain: their controls
    // are placed once it ends.
    bool m_layoutPending = false;
    void _HoldRedrawForDrain();

    // Places the row's bar and button in its progress cell and shows each
    // as the row's state wants (the painter's rule); rows lacking either
    // control are left alone.
    void _PlaceRowControls(int index);
    // _PlaceRowControls for the rows from `from` down; during a drain once
    // at its end.
    void _LayoutRowControls(int from);
    // A finished row shows its button only for a next step.
    bool _ShouldShowButton(const RowPtr& pRow);
    // Drops the remembered hover cell and its tip: the cells moved.
    void _ForgetHoverCell();
    // Empties the row's status cells for a new run (columns 1 to 3).
    void _ClearRowStatus(int index);

    // Reports the failed check as an assertion and raises.
    [[noreturn]] static void RaiseFailedCheck(const char* checkText);
    // The row's item under `locker`; raises "((pItem))" for no row and
    // "((_$_pengItem))" for a gone item.
    static boost::shared_ptr<KavennaEngine::IDownloadItem> LockRow(const RowPtr& pRow,
                                                                   KavennaEngine::ItemLocker& locker);
    template <class Test>
    bool _AnySelectedRow(const std::vector<int>& selection, Test test);
    std::vector<RowPtr> _SelectedRows();
    // The row's current list index; -1 when it is no longer listed.
    int _IndexOfRow(const RowPtr& pRow) const;
    // OpenItem for each selected row, top to bottom.
    void _OpenSelectedRows(bool converted, bool watch);

    void _SetUpList();
    void _SetUpImageList();
    void _SetUpTooltip();
    void _PostAndArm(MessageTypes message, const KavennaEngine::DownloadItemHandle& item);
    // The progress handler's last step: reviews a row not yet reviewed and
    // keeps the answer as its mark. Takes the row itself, never its index:
    // rows come and go while the review's dialog is open.
    void _ReviewRow(const RowPtr& pRow);
    int _ReviewItem(const KavennaEngine::DownloadItemHandle& item);
};
