#pragma once
// The document and an empty view that the main window's template uses
// until the download list takes the view's place.
#include <afxwin.h>

class InterimDocument : public CDocument {
    DECLARE_DYNCREATE(InterimDocument)
public:
    InterimDocument() = default;
};

class InterimView : public CView {
    DECLARE_DYNCREATE(InterimView)
public:
    InterimView() = default;
    void OnDraw(CDC* pDC) override;
};
