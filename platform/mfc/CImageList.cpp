#include "AfxState.h"

IMPLEMENT_DYNAMIC(CImageList, CObject)

CImageList* CImageList::FromHandle(HIMAGELIST hImageList) {
    return hImageList ? AfxGetThreadState().m_tempImageLists.Get(hImageList) : nullptr;
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
    if (!hImageList)
        return FALSE;
    if (m_hImageList && m_hImageList != hImageList)
        DeleteImageList();
    m_hImageList = hImageList;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST hImageList = m_hImageList;
    m_hImageList = nullptr;
    return hImageList;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList)
        return FALSE;
    return ImageList_Destroy(Detach());
}

int CImageList::GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
int CImageList::Add(HICON hIcon) { return ImageList_AddIcon(m_hImageList, hIcon); }

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask) {
    return ImageList_Add(m_hImageList, pbmImage ? static_cast<HBITMAP>(pbmImage->m_hObject) : nullptr,
                         pbmMask ? static_cast<HBITMAP>(pbmMask->m_hObject) : nullptr);
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
    return ImageList_AddMasked(m_hImageList, pbmImage ? static_cast<HBITMAP>(pbmImage->m_hObject) : nullptr,
                               crMask);
}

BOOL CImageList::Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }
int CImageList::Replace(int nImage, HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
    return ImageList_Draw(m_hImageList, nImage, pDC->m_hDC, pt.x, pt.y, nStyle);
}

HICON CImageList::ExtractIcon(int nImage) { return ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL); }
COLORREF CImageList::SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }

BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const {
    return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
}
