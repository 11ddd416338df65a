#include "downloads/view/BrunlowDoc.h"

IMPLEMENT_DYNCREATE(CBrunlowDoc, CDocument)

BEGIN_MESSAGE_MAP(CBrunlowDoc, CDocument)
END_MESSAGE_MAP()

BOOL CBrunlowDoc::OnNewDocument() {
    return CDocument::OnNewDocument();
}
