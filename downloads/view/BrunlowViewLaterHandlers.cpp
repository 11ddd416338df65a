// Entries of the view's message map whose work comes with the tip panel.
// Until then each does nothing.
#include "downloads/view/BrunlowView.h"

void CBrunlowView::OnPreviousTip() {}       // tip panel
void CBrunlowView::OnNextTip() {}           // tip panel
