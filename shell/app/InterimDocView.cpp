#include "shell/app/InterimDocView.h"

IMPLEMENT_DYNCREATE(InterimDocument, CDocument)
IMPLEMENT_DYNCREATE(InterimView, CView)

void InterimView::OnDraw(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, RGB(0x3A, 0x3A, 0x3A));
}
