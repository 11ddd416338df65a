// Entries of the view's message map whose work comes with the engine-event
// handlers, painting, commands and renaming. Until then each
// keeps the list control's own behaviour or does nothing.
#include "downloads/view/BrunlowView.h"

void CBrunlowView::OnMouseMove(UINT nFlags, CPoint point) {
    // Row tooltips come with the tooltip code.
    QE806::OnMouseMove(nFlags, point);
}

void CBrunlowView::OnDoubleClick(NMHDR* /*pHeader*/, LRESULT* pResult) {
    *pResult = 0;  // opening or converting the item
}

void CBrunlowView::OnEndLabelEdit(NMHDR* /*pHeader*/, LRESULT* pResult) {
    *pResult = 0;  // renaming
}

void CBrunlowView::OnWatchDownloaded() {}   // opening and locating
void CBrunlowView::OnLocateDownloaded() {}  // opening and locating
void CBrunlowView::OnWatchConverted() {}    // opening and locating
void CBrunlowView::OnLocateConverted() {}   // opening and locating
