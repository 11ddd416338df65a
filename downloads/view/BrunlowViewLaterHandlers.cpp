// Entries of the view's message map whose work comes with the engine-event
// handlers, painting, commands, renaming and the tip panel. Until then each
// keeps the list control's own behaviour or does nothing.
#include "downloads/view/BrunlowView.h"

void CBrunlowView::OnMouseMove(UINT nFlags, CPoint point) {
    // Row tooltips come with the tooltip code.
    QE806::OnMouseMove(nFlags, point);
}

void CBrunlowView::OnLvnEndlabeledit(NMHDR* /*pHeader*/, LRESULT* pResult) {
    *pResult = 0;  // renaming
}

void CBrunlowView::OnPreviousTip() {}       // tip panel
void CBrunlowView::OnNextTip() {}           // tip panel
