// Entries of the view's message map whose work comes with the engine-event
// handlers, painting, commands, renaming and the tip panel. Until then each
// keeps the list control's own behaviour or does nothing.
#include "downloads/view/BrunlowView.h"

void CBrunlowView::OnSize(UINT nType, int cx, int cy) {
    // Row controls and the tip panel are laid out with the painting code.
    QE806::OnSize(nType, cx, cy);
}

void CBrunlowView::OnPaint() {
    // The list's own look comes with the painting code; the toolkit paints the rows.
    QE806::OnPaint();
}

void CBrunlowView::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
    // The scroll-bar handling comes with the painting code.
    QE806::OnNcCalcSize(bCalcValidRects, lpncsp);
}

void CBrunlowView::OnMouseMove(UINT nFlags, CPoint point) {
    // Row tooltips come with the tooltip code.
    QE806::OnMouseMove(nFlags, point);
}

void CBrunlowView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    // Keyboard commands come with the item commands.
    QE806::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CBrunlowView::OnContextMenu(CWnd* /*pWnd*/, CPoint /*pos*/) {
    // The context menu comes with the item commands.
}

LRESULT CBrunlowView::OnProcessingStartedMessage(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return 0;  // the row of a started item comes with the engine-event handlers
}

LRESULT CBrunlowView::OnProcessingProgressMessage(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return 0;  // engine-event handlers
}

LRESULT CBrunlowView::OnProcessingFinishedMessage(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return 0;  // engine-event handlers
}

LRESULT CBrunlowView::OnEngineStateMessage(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return 0;  // engine-event handlers: colours and tip panel of the engine's state
}

LRESULT CBrunlowView::OnDuplicateFoundMessage(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return 0;  // engine-event handlers
}

void CBrunlowView::OnDoubleClick(NMHDR* /*pHeader*/, LRESULT* pResult) {
    *pResult = 0;  // opening or converting the item
}

void CBrunlowView::OnBeginLabelEdit(NMHDR* /*pHeader*/, LRESULT* pResult) {
    *pResult = 0;  // the start of renaming comes with the painting code
}

void CBrunlowView::OnEndLabelEdit(NMHDR* /*pHeader*/, LRESULT* pResult) {
    *pResult = 0;  // renaming
}

void CBrunlowView::OnEngineOnOff() {}       // item commands: engine on/off
void CBrunlowView::OnEngineOn() {}          // item commands
void CBrunlowView::OnEngineOff() {}         // item commands
void CBrunlowView::OnCancelDownload() {}    // item commands: cancel or remove
void CBrunlowView::OnStopItem() {}          // item commands
void CBrunlowView::OnConvertItem() {}       // conversion
void CBrunlowView::OnCopyToIPod() {}        // conversion: copy to the player
void CBrunlowView::OnRemoveItem() {}        // item commands
void CBrunlowView::OnDownloadAgain() {}     // item commands
void CBrunlowView::OnRenameItem() {}        // item commands: start of renaming
void CBrunlowView::OnDeleteFile() {}        // item commands
void CBrunlowView::OnConvert() {}           // conversion
void CBrunlowView::OnWatchDownloaded() {}   // opening and locating
void CBrunlowView::OnLocateDownloaded() {}  // opening and locating
void CBrunlowView::OnWatchConverted() {}    // opening and locating
void CBrunlowView::OnLocateConverted() {}   // opening and locating
void CBrunlowView::OnPreviousTip() {}       // tip panel
void CBrunlowView::OnNextTip() {}           // tip panel
