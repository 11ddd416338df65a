#pragma once
// The download list's document: it holds nothing. What the program shows
// lives in the view and the engine.
#include "afxwin.h"

class CBrunlowDoc : public CDocument {
    DECLARE_DYNCREATE(CBrunlowDoc)
public:
    BOOL OnNewDocument() override;

protected:
    DECLARE_MESSAGE_MAP()
};
